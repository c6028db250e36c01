// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/chart_value_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "chart/series/list_error.h"

namespace {

std::vector<double> Stored(const TChartValueList& list) {
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(list.ValueCount()));
  for (int i = 0; i < list.ValueCount(); ++i)
    values.push_back(list.ValueAt(i));
  return values;
}

TChartValueList ListOf(TChartListOrder order, std::initializer_list<double> values) {
  TChartValueList list(nullptr, "X ");
  list.SetOrder(order);
  for (double v : values)
    list.AddOrdered(v);
  return list;
}

TEST(ChartValueList, AscendingInsertMatchesASortedReference) {
  std::mt19937 random(20261207);
  for (int size : {1, 5, 17, 100, 2000}) {
    TChartValueList list(nullptr, "X ");
    list.SetOrder(loAscending);
    std::vector<double> reference;
    std::uniform_int_distribution<int> value(0, size / 2 + 1);  // plenty of equal keys
    for (int i = 0; i < size; ++i) {
      const double v = value(random);
      const auto at = std::upper_bound(reference.begin(), reference.end(), v);
      const int expectedIndex = static_cast<int>(at - reference.begin());
      reference.insert(at, v);
      ASSERT_EQ(list.AddOrdered(v), expectedIndex) << "size " << size << " step " << i;
    }
    EXPECT_EQ(Stored(list), reference);
  }
}

TEST(ChartValueList, DescendingInsertMirrorsAscending) {
  TChartValueList list = ListOf(loDescending, {5, 1, 3});
  EXPECT_EQ(Stored(list), (std::vector<double>{5, 3, 1}));
  EXPECT_EQ(list.AddOrdered(3), 2);  // after the equal key
  EXPECT_EQ(list.AddOrdered(9), 0);
  EXPECT_EQ(list.AddOrdered(0), 5);
  EXPECT_EQ(Stored(list), (std::vector<double>{9, 5, 3, 3, 1, 0}));
}

TEST(ChartValueList, UnorderedListKeepsArrivalOrder) {
  TChartValueList list = ListOf(loNone, {3, 1, 2, 1});
  EXPECT_EQ(Stored(list), (std::vector<double>{3, 1, 2, 1}));
  EXPECT_EQ(list.AddOrdered(0), 4);
}

TEST(ChartValueList, OutOfOrderValueWalksBackFromTheEnd) {
  // An unsorted list made ascending afterwards: the walk stops at the first smaller value
  // from the end, it does not search the whole list.
  TChartValueList list = ListOf(loNone, {5, 1, 3});
  list.SetOrder(loAscending);
  EXPECT_EQ(list.AddOrdered(2), 2);
  EXPECT_EQ(list.AddOrdered(-1), 0);
  EXPECT_EQ(Stored(list), (std::vector<double>{-1, 5, 1, 2, 3}));
}

TEST(ChartValueList, MultiplierAppliesOnReadingNotOnStorage) {
  TChartValueList list = ListOf(loAscending, {1, 2, 4});
  list.SetMultiplier(2);
  EXPECT_EQ(Stored(list), (std::vector<double>{2, 4, 8}));
  // Ordering compares stored values: 3 goes between 2 and 4.
  EXPECT_EQ(list.AddOrdered(3), 2);
  EXPECT_EQ(list.LastValue(), 8);
  EXPECT_EQ(list.FindValue(6), 2);
  EXPECT_EQ(list.FindValue(3), -1);
}

TEST(ChartValueList, StatisticsAreLazyAndFollowTheMultiplier) {
  TChartValueList list(nullptr, "Y ");
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.MinimumValue(), 0);
  EXPECT_EQ(list.MaximumValue(), 0);
  EXPECT_EQ(list.SumOfValues(), 0);
  EXPECT_EQ(list.SumOfAbsValues(), 0);
  EXPECT_FALSE(list.StatsDirty());

  for (double v : {3.0, -4.0, 1.0, 7.0})
    list.AddOrdered(v);
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.MinimumValue(), -4);
  EXPECT_EQ(list.MaximumValue(), 7);
  EXPECT_EQ(list.SumOfValues(), 7);
  EXPECT_EQ(list.SumOfAbsValues(), 15);
  EXPECT_FALSE(list.StatsDirty());

  list.SetMultiplier(2);
  EXPECT_TRUE(list.StatsDirty());
  EXPECT_EQ(list.MinimumValue(), -8);
  EXPECT_EQ(list.MaximumValue(), 14);
  EXPECT_EQ(list.SumOfValues(), 14);
  EXPECT_EQ(list.SumOfAbsValues(), 30);

  list.SetValueAt(1, 10);  // -4 becomes 10
  EXPECT_EQ(list.MinimumValue(), 2);
  EXPECT_EQ(list.MaximumValue(), 20);
  list.RemoveValueAt(1);
  EXPECT_EQ(list.MaximumValue(), 14);
  list.RemoveAllValues();
  EXPECT_EQ(list.ValueCount(), 0);
  EXPECT_EQ(list.MaximumValue(), 0);
}

TEST(ChartValueList, BadIndicesRaiseTheListErrorAndChangeNothing) {
  TChartValueList list = ListOf(loAscending, {1, 2, 3});
  const std::vector<double> before = Stored(list);
  for (int index : {-1, 3, 5, 1 << 30}) {
    EXPECT_THROW(list.ValueAt(index), EListError);
    EXPECT_THROW(list.SetValueAt(index, 9), EListError);
    EXPECT_THROW(list.RemoveValueAt(index), EListError);
  }
  EXPECT_THROW(list.InsertValueAt(4, 9), EListError);
  EXPECT_THROW(list.InsertValueAt(-1, 9), EListError);
  EXPECT_EQ(Stored(list), before);

  try {
    list.ValueAt(5);
    FAIL() << "no error raised";
  } catch (const EListError& error) {
    EXPECT_STREQ(error.what(), "Indice de liste hors limites (5)");
    EXPECT_EQ(error.Index(), 5);
  }
  TChartValueList empty(nullptr, "X ");
  EXPECT_THROW(empty.LastValue(), EListError);
}

TEST(ChartValueList, PlainListOperations) {
  TChartValueList list = ListOf(loNone, {4, 5, 6});
  list.InsertValueAt(3, 7);  // at the end is allowed
  list.RotateValues();
  EXPECT_EQ(Stored(list), (std::vector<double>{5, 6, 7, 4}));
  list.FillWithIndexes();
  EXPECT_EQ(Stored(list), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(list.SumOfValues(), 6);
}

}  // namespace
