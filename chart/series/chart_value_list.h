// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "chart/series/pod_list.h"

class TChartSeries;

enum TChartListOrder { loNone, loAscending, loDescending };

// One coordinate of every point of a series, in index order. Values are stored as given and
// read through Multiplier; the statistics are recomputed lazily on the first read after a
// change.
class TChartValueList {
 public:
  TChartValueList(TChartSeries* owner, std::string name);

  TChartSeries* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  int ValueCount() const { return static_cast<int>(values_.size()); }
  double ValueAt(int index) const;  // stored value × Multiplier
  double LastValue() const { return ValueAt(ValueCount() - 1); }
  // The values as stored, before Multiplier, ValueCount() of them: for loops over every point
  // that ValueAt's index check would slow down. Valid until the list changes.
  const double* StoredValues() const { return values_.begin(); }
  // Every ValueAt in index order, as a copy of its own: the list may change while it is read.
  std::vector<double> Values() const;
  // True when the stored values never decrease and none is NaN, whatever Order claims: values
  // set or inserted out of order, and NaN, break it. Checked on from where the last call
  // stopped, so a list that only grows at its end is read once in all.
  bool StoredAscending() const;
  void SetValueAt(int index, double value);

  // Inserts by Order and returns the index the value went to; equal values keep their
  // arrival order. Appending in order costs one comparison.
  int AddOrdered(double value) {
    if (!GoesLast(value)) [[unlikely]]
      return InsertOrdered(value);
    values_.push_back(value);
    statsDirty_ = true;
    return ValueCount() - 1;
  }
  void InsertValueAt(int index, double value) {
    if (index != ValueCount()) [[unlikely]]
      return InsertInside(index, value);
    values_.push_back(value);
    statsDirty_ = true;
  }
  void RemoveValueAt(int index);
  void RemoveAllValues();

  int FindValue(double value) const;
  void RotateValues();
  void FillWithIndexes();

  double MinimumValue() const;
  double MaximumValue() const;
  double SumOfValues() const;
  double SumOfAbsValues() const;
  bool StatsDirty() const { return statsDirty_; }

  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double multiplier);
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder order);
  bool DateTime() const { return dateTime_; }
  void SetDateTime(bool dateTime);

  std::string ValueSource;  // kept for the form's sake; nothing reads it
  double PendingValue = 0;  // the coordinate of a point being added

 private:
  bool GoesLast(double value) const {
    if (order_ == loNone || values_.empty()) return true;
    return order_ == loAscending ? values_.back() <= value : values_.back() >= value;
  }
  int InsertOrdered(double value);
  void InsertInside(int index, double value);
  // `index` as a position in the storage; throws EListError when no value is there.
  std::size_t Checked(int index) const;
  void RecomputeStats() const;
  // A change at `index` leaves the values before it as they were.
  void ChangedFrom(std::size_t index) { ascendingPrefix_ = std::min(ascendingPrefix_, index); }

  TChartSeries* owner_;
  std::string name_;
  TPodList<double> values_;
  double multiplier_ = 1;
  TChartListOrder order_ = loNone;
  bool dateTime_ = false;

  mutable bool statsDirty_ = true;
  mutable double minimum_ = 0;
  mutable double maximum_ = 0;
  mutable double sum_ = 0;
  mutable double absSum_ = 0;
  mutable std::size_t ascendingPrefix_ = 0;  // leading values known to be in order and not NaN
};
