// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/chart_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "chart/chart.h"
#include "chart/series/list_error.h"

namespace {

// A chart that only counts the repaints its series ask for.
class CountingChart : public TChart {
 public:
  void InvalidateChart() override {
    ++repaints;
    if (log != nullptr) log->push_back("repaint");
  }
  int repaints = 0;
  std::vector<std::string>* log = nullptr;
};

struct Point {
  double x, y;
  TColor color;
  std::string label;
  bool operator==(const Point&) const = default;
};

std::vector<Point> Points(const TChartSeries& s) {
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(s.PointCount()));
  for (int i = 0; i < s.PointCount(); ++i) {
    points.push_back(
        {s.XValues().ValueAt(i), s.YValues().ValueAt(i), s.PointColor(i), s.PointLabel(i)});
  }
  return points;
}

class ChartSeriesTest : public testing::Test {
 protected:
  ChartSeriesTest() {
    chart.log = &log;
    series.SetParentChart(&chart);
    series.SetSeriesColor(clRed);
    chart.repaints = 0;
  }
  // Both outlive the series, whose handlers write to them.
  std::vector<std::string> log;
  int cleared = 0;
  CountingChart chart;
  TChartSeries series;
};

TEST_F(ChartSeriesTest, PointsGoToTheirPlaceByXWithEverythingAttached) {
  EXPECT_EQ(series.AppendPoint(0, 10, "a", clBlue), 0);
  EXPECT_EQ(series.AppendPoint(2, 12), 1);
  EXPECT_EQ(series.AppendPoint(1, 11, "b", clGreen), 1);
  EXPECT_EQ(series.AppendPoint(1, 13), 2);  // equal X: after the existing one
  const std::vector<Point> expected = {
      {0, 10, clBlue, "a"}, {1, 11, clGreen, "b"}, {1, 13, clRed, ""}, {2, 12, clRed, ""}};
  EXPECT_EQ(Points(series), expected);
  EXPECT_EQ(chart.repaints, 4);
}

TEST_F(ChartSeriesTest, UnorderedXKeepsArrivalOrder) {
  series.XValues().SetOrder(loNone);
  for (double x : {3.0, 1.0, 2.0})
    series.AppendPoint(x, x * 10);
  EXPECT_EQ(Points(series),
            (std::vector<Point>{{3, 30, clRed, ""}, {1, 10, clRed, ""}, {2, 20, clRed, ""}}));
}

TEST_F(ChartSeriesTest, RandomInsertsMatchAStableSortedReference) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> key(0, 40);
  std::vector<Point> reference;
  for (int i = 0; i < 500; ++i) {
    const Point p{double(key(random)), double(i), TColor(i % 3 == 0 ? clNone : clDefault),
                  i % 7 == 0 ? "p" + std::to_string(i) : ""};
    const int index = series.AppendPoint(p.x, p.y, p.label, p.color);
    const auto at = std::upper_bound(reference.begin(), reference.end(), p,
                                     [](const Point& a, const Point& b) { return a.x < b.x; });
    ASSERT_EQ(index, at - reference.begin());
    reference.insert(at, p);
  }
  for (Point& p : reference)
    p.color = p.color == clDefault ? clRed : p.color;
  EXPECT_EQ(Points(series), reference);
}

// Both lists in index order, each read through its multiplier.
TEST_F(ChartSeriesTest, PointValuesAreBothListsIndexForIndex) {
  series.YValues().SetMultiplier(0.5);
  for (double x : {2.0, 1.0, 3.0})
    series.AppendPoint(x, 10 * x + 1);
  EXPECT_EQ(series.PointValues().x, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(series.PointValues().y, (std::vector<double>{5.5, 10.5, 15.5}));
}

TEST_F(ChartSeriesTest, EffectiveColours) {
  series.AppendPoint(0, 0);
  series.AppendNullPoint(1, 0);
  series.AppendPoint(2, 0, {}, clYellow);
  EXPECT_EQ(series.PointColor(0), clRed);  // no colour of its own
  EXPECT_TRUE(series.IsNullPoint(1));
  EXPECT_FALSE(series.IsNullPoint(0));
  EXPECT_EQ(series.PointColor(2), clYellow);
  EXPECT_EQ(series.PointColor(3), clRed);  // beyond the list: the series colour
  EXPECT_EQ(series.PointColor(-1), clRed);

  series.SetColorEachPoint(true);
  for (int i = 3; i < 20; ++i)
    series.AppendPoint(i, 0);
  EXPECT_EQ(series.PointColor(0), clRed);  // palette entry 0
  EXPECT_EQ(series.PointColor(1), clNone);
  EXPECT_EQ(series.PointColor(2), clYellow);
  EXPECT_EQ(series.PointColor(3), clBlue);
  EXPECT_EQ(series.PointColor(15), clBlack);
  EXPECT_EQ(series.PointColor(17), clGreen);  // index modulo 16

  chart.repaints = 0;
  series.SetPointColor(0, clNone);
  EXPECT_TRUE(series.IsNullPoint(0));
  EXPECT_EQ(chart.repaints, 1);
  EXPECT_THROW(series.SetPointColor(20, clBlue), EListError);
}

TEST_F(ChartSeriesTest, LabelsStayWithTheirPoints) {
  series.AppendPoint(0, 0);
  series.AppendPoint(2, 0);
  series.AppendPoint(1, 0, "milieu");  // the first label arrives after unlabelled points
  series.AppendPoint(3, 0);
  series.AppendPoint(-1, 0, "début");
  const std::vector<std::string> expected = {"début", "", "milieu", "", ""};
  int index = 0;
  for (const std::string& label : expected) {
    EXPECT_EQ(series.PointLabel(index), label) << index;
    ++index;
  }
  EXPECT_EQ(series.PointLabel(5), "");
  series.RemovePoint(0);
  EXPECT_EQ(series.PointLabel(1), "milieu");
}

TEST_F(ChartSeriesTest, VetoStoresNothingButThePendingValues) {
  series.AppendPoint(0, 0);
  log.clear();
  series.OnBeforeAdd = [&](TChartSeries* sender) {
    EXPECT_EQ(sender, &series);
    EXPECT_EQ(sender->XValues().PendingValue, 5);
    EXPECT_EQ(sender->YValues().PendingValue, 6);
    log.emplace_back("before");
    return false;
  };
  series.OnAfterAdd = [&](TChartSeries*, int) { log.emplace_back("after"); };
  EXPECT_EQ(series.AppendPoint(5, 6, "x", clBlue), -1);
  EXPECT_EQ(log, std::vector<std::string>{"before"});
  EXPECT_EQ(series.PointCount(), 1);
  EXPECT_EQ(series.YValues().ValueCount(), 1);
  EXPECT_EQ(series.PointLabel(0), "");
}

TEST_F(ChartSeriesTest, AfterAddComesBeforeTheRepaint) {
  log.clear();
  series.OnBeforeAdd = [](TChartSeries*) { return true; };
  series.OnAfterAdd = [&](TChartSeries* sender, int index) {
    EXPECT_EQ(sender, &series);
    log.push_back("after " + std::to_string(index));
  };
  series.AppendPoint(4, 0);
  series.AppendPoint(2, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"after 0", "repaint", "after 0", "repaint"}));

  // An inactive series stores points but does not repaint.
  series.SetActive(false);
  log.clear();
  EXPECT_EQ(series.AppendValue(7), 1);  // X is the point count, 2: between 2 and 4
  EXPECT_EQ(series.XValues().ValueAt(1), 2);
  EXPECT_EQ(series.YValues().ValueAt(1), 7);
  EXPECT_EQ(log, std::vector<std::string>{"after 1"});
}

TEST_F(ChartSeriesTest, ClearingAnEmptySeriesStillNotifiesAndRepaints) {
  series.OnClearValues = [&](TChartSeries* sender) {
    EXPECT_EQ(sender->PointCount(), 0);
    ++cleared;
  };
  series.ClearPoints();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(chart.repaints, 1);

  for (int i = 0; i < 100; ++i)
    series.AppendPoint(i, i, "l");
  series.ClearPoints();
  EXPECT_EQ(cleared, 2);
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.YValues().ValueCount(), 0);
  EXPECT_EQ(series.PointLabel(0), "");
  EXPECT_EQ(series.XValues().MaximumValue(), 0);
  // The next points start afresh.
  EXPECT_EQ(series.AppendPoint(3, 3), 0);
}

TEST_F(ChartSeriesTest, RemovingABadIndexLeavesEveryListAsItWas) {
  series.AppendPoint(0, 1, "a", clBlue);
  series.AppendPoint(1, 2);
  series.AppendPoint(2, 3, "c");
  const std::vector<Point> before = Points(series);
  chart.repaints = 0;
  for (int index : {-1, 3, 100}) {
    EXPECT_THROW(series.RemovePoint(index), EListError);
  }
  EXPECT_EQ(Points(series), before);
  EXPECT_EQ(chart.repaints, 0);

  // A value list that lost a value behind the series' back still cannot half-remove a point.
  series.YValues().RemoveValueAt(2);
  EXPECT_THROW(series.RemovePoint(2), EListError);
  EXPECT_EQ(series.PointCount(), 3);

  series.RemovePoint(0);
  EXPECT_EQ(chart.repaints, 1);
  EXPECT_EQ(series.PointCount(), 2);
  EXPECT_EQ(series.PointLabel(1), "c");
  EXPECT_EQ(series.PointColor(0), clRed);
}

TEST_F(ChartSeriesTest, SettersRepaintOnlyOnChange) {
  series.SetSeriesColor(clRed);
  series.SetActive(true);
  series.SetTitle("");
  series.XValues().SetMultiplier(1);
  series.YValues().SetDateTime(false);
  EXPECT_EQ(chart.repaints, 0);
  series.SetSeriesColor(clBlue);
  series.SetTitle("Tension");
  series.SetShowInLegend(false);
  series.SetColorEachPoint(true);
  series.XValues().SetMultiplier(1000);
  series.YValues().SetDateTime(true);
  series.SetValueFormat("0.0");
  EXPECT_EQ(chart.repaints, 7);
}

// A series not yet on a chart still keeps its points, in X order, and asks nobody to repaint.
TEST(ChartSeries, WithoutAChartKeepsItsPointsInOrder) {
  TChartSeries series;
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_EQ(series.AppendPoint(2, 5), 0);
  EXPECT_EQ(series.AppendPoint(1, 7), 0);  // an earlier X goes before
  EXPECT_EQ(series.AppendPoint(3, -1), 2);
  ASSERT_EQ(series.PointCount(), 3);
  EXPECT_EQ(series.MinimumX(), 1);
  EXPECT_EQ(series.MaximumX(), 3);
  EXPECT_EQ(series.MinimumY(), -1);
  EXPECT_EQ(series.MaximumY(), 7);
  series.ClearPoints();
  EXPECT_EQ(series.PointCount(), 0);
}

TEST(ChartSeries, ChartAndSeriesLetGoOfEachOther) {
  auto chart = std::make_unique<CountingChart>();
  auto first = std::make_unique<TChartSeries>();
  TChartSeries second;
  first->SetParentChart(chart.get());
  second.SetParentChart(chart.get());
  EXPECT_EQ(chart->SeriesList(), (std::vector<TChartSeries*>{first.get(), &second}));

  first.reset();  // a series going away leaves the chart
  EXPECT_EQ(chart->SeriesList(), std::vector<TChartSeries*>{&second});

  second.AppendPoint(1, 1);
  chart.reset();  // the chart going away lets its series go, without freeing them
  EXPECT_EQ(second.ParentChart(), nullptr);
  EXPECT_EQ(second.AppendPoint(2, 2), 1);
}

// A series going away, with a chart or without, raises none of its handlers: whoever set them
// may be going away too. A chart that showed it forgets it and is repainted.
TEST(ChartSeries, GoingAwayRaisesNoHandler) {
  const std::function<std::unique_ptr<TChartSeries>()> kinds[] = {
      [] { return std::make_unique<TChartSeries>(); },
      [] { return std::make_unique<TFastLineSeries>(); },
      [] { return std::make_unique<TCrossSeries>(); }};
  for (const auto& make : kinds) {
    for (bool attached : {false, true}) {
      SCOPED_TRACE(attached);
      CountingChart chart;
      std::unique_ptr<TChartSeries> series = make();
      if (attached) series->SetParentChart(&chart);
      series->AppendPoint(1, 1, "a", clRed);
      series->AppendPoint(2, 2);
      int raised = 0;
      series->OnBeforeAdd = [&](TChartSeries*) {
        ++raised;
        return true;
      };
      series->OnAfterAdd = [&](TChartSeries*, int) { ++raised; };
      series->OnClearValues = [&](TChartSeries*) { ++raised; };
      series->BeforeDrawValues = [&](TChartSeries*) { ++raised; };
      series->AfterDrawValues = [&](TChartSeries*) { ++raised; };
      series->OnClick = [&](TChartSeries*, int, Qt::MouseButton, TShiftState, int, int) {
        ++raised;
      };
      series->OnDblClick = series->OnClick;
      chart.repaints = 0;
      series.reset();
      EXPECT_EQ(raised, 0);
      EXPECT_TRUE(chart.SeriesList().empty());
      EXPECT_EQ(chart.repaints, attached ? 1 : 0);
    }
  }
}

}  // namespace
