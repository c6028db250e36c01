#include "chart/series/chart_value_list.h"

#include <algorithm>
#include <cmath>

#include "chart/series/chart_series.h"
#include "chart/series/list_error.h"

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= ValueCount()) throw EListError(index);
}

double TChartValueList::ValueAt(int index) const {
  CheckIndex(index);
  return values_[index] * multiplier_;
}

void TChartValueList::SetValueAt(int index, double value) {
  CheckIndex(index);
  values_[index] = value;
  ChangedFrom(index);
  statsDirty_ = true;
}

// A value out of order walks back from the end, so nearly sorted data stays cheap. Compares
// stored values, not multiplied ones.
int TChartValueList::InsertOrdered(double value) {
  int i = ValueCount() - 1;
  if (order_ == loAscending) {
    while (i >= 0 && values_[i] > value)
      --i;
  } else {
    while (i >= 0 && values_[i] < value)
      --i;
  }
  values_.insert(i + 1, value);
  ChangedFrom(i + 1);
  statsDirty_ = true;
  return i + 1;
}

void TChartValueList::InsertInside(int index, double value) {
  if (index < 0 || index > ValueCount()) throw EListError(index);
  values_.insert(index, value);
  ChangedFrom(index);
  statsDirty_ = true;
}

void TChartValueList::RemoveValueAt(int index) {
  CheckIndex(index);
  values_.erase(index);
  // What stays of an ordered stretch is still in order.
  if (index < ascendingPrefix_) --ascendingPrefix_;
  statsDirty_ = true;
}

void TChartValueList::RemoveAllValues() {
  values_.Release();
  ascendingPrefix_ = 0;
  statsDirty_ = true;
}

int TChartValueList::FindValue(double value) const {
  for (int i = 0; i < ValueCount(); ++i) {
    if (values_[i] * multiplier_ == value) return i;
  }
  return -1;
}

void TChartValueList::RotateValues() {
  if (values_.size() < 2) return;  // nothing moves
  std::rotate(values_.begin(), values_.begin() + 1, values_.end());
  ascendingPrefix_ = 0;
}

void TChartValueList::FillWithIndexes() {
  for (int i = 0; i < ValueCount(); ++i)
    values_[i] = i;
  ascendingPrefix_ = 0;
  statsDirty_ = true;
}

bool TChartValueList::StoredAscending() const {
  const int count = ValueCount();
  int k = ascendingPrefix_;
  if (k == 0) {
    if (count == 0) return true;
    if (std::isnan(values_[0])) return false;
    k = 1;
  }
  // NaN compares false, so it ends the prefix too.
  while (k < count && values_[k - 1] <= values_[k])
    ++k;
  ascendingPrefix_ = k;
  return k == count;
}

void TChartValueList::RecomputeStats() const {
  if (!statsDirty_) return;
  minimum_ = maximum_ = sum_ = absSum_ = 0;
  if (!values_.empty()) {
    minimum_ = maximum_ = sum_ = values_[0] * multiplier_;
    absSum_ = std::fabs(sum_);
    for (std::size_t i = 1; i < values_.size(); ++i) {
      const double v = values_[i] * multiplier_;
      if (v < minimum_) {
        minimum_ = v;
      } else if (v > maximum_) {
        maximum_ = v;
      }
      sum_ += v;
      absSum_ += std::fabs(v);
    }
  }
  statsDirty_ = false;
}

double TChartValueList::MinimumValue() const {
  RecomputeStats();
  return minimum_;
}

double TChartValueList::MaximumValue() const {
  RecomputeStats();
  return maximum_;
}

double TChartValueList::SumOfValues() const {
  RecomputeStats();
  return sum_;
}

double TChartValueList::SumOfAbsValues() const {
  RecomputeStats();
  return absSum_;
}

void TChartValueList::SetMultiplier(double multiplier) {
  if (multiplier == multiplier_) return;
  multiplier_ = multiplier;
  statsDirty_ = true;
  if (owner_ != nullptr) owner_->RequestRepaint();
}

void TChartValueList::SetOrder(TChartListOrder order) {
  if (order == order_) return;
  order_ = order;
  if (owner_ != nullptr) owner_->RequestRepaint();
}

void TChartValueList::SetDateTime(bool dateTime) {
  if (dateTime == dateTime_) return;
  dateTime_ = dateTime;
  if (owner_ != nullptr) owner_->RequestRepaint();
}
