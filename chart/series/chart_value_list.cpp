// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/chart_value_list.h"

#include <algorithm>
#include <cmath>

#include "chart/series/chart_series.h"
#include "chart/series/list_error.h"

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

std::size_t TChartValueList::Checked(int index) const {
  if (index < 0 || index >= ValueCount()) throw EListError(index);
  return static_cast<std::size_t>(index);
}

double TChartValueList::ValueAt(int index) const {
  return values_[Checked(index)] * multiplier_;
}

std::vector<double> TChartValueList::Values() const {
  std::vector<double> copy(values_.size());
  std::transform(values_.begin(), values_.end(), copy.begin(),
                 [this](double stored) { return stored * multiplier_; });
  return copy;
}

void TChartValueList::SetValueAt(int index, double value) {
  const std::size_t at = Checked(index);
  values_[at] = value;
  ChangedFrom(at);
  statsDirty_ = true;
}

// A value out of order walks back from the end, so nearly sorted data stays cheap. Compares
// stored values, not multiplied ones.
int TChartValueList::InsertOrdered(double value) {
  // `at` ends just after the last value that stays before the new one.
  std::size_t at = values_.size();
  if (order_ == loAscending) {
    while (at > 0 && values_[at - 1] > value)
      --at;
  } else {
    while (at > 0 && values_[at - 1] < value)
      --at;
  }
  values_.insert(at, value);
  ChangedFrom(at);
  statsDirty_ = true;
  return static_cast<int>(at);
}

void TChartValueList::InsertInside(int index, double value) {
  if (index < 0 || index > ValueCount()) throw EListError(index);
  const auto at = static_cast<std::size_t>(index);
  values_.insert(at, value);
  ChangedFrom(at);
  statsDirty_ = true;
}

void TChartValueList::RemoveValueAt(int index) {
  const std::size_t at = Checked(index);
  values_.erase(at);
  // What stays of an ordered stretch is still in order.
  if (at < ascendingPrefix_) --ascendingPrefix_;
  statsDirty_ = true;
}

void TChartValueList::RemoveAllValues() {
  values_.Release();
  ascendingPrefix_ = 0;
  statsDirty_ = true;
}

int TChartValueList::FindValue(double value) const {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    if (values_[i] * multiplier_ == value) return static_cast<int>(i);
  }
  return -1;
}

void TChartValueList::RotateValues() {
  if (values_.size() < 2) return;  // nothing moves
  std::rotate(values_.begin(), values_.begin() + 1, values_.end());
  ascendingPrefix_ = 0;
}

void TChartValueList::FillWithIndexes() {
  for (std::size_t i = 0; i < values_.size(); ++i)
    values_[i] = static_cast<double>(i);
  ascendingPrefix_ = 0;
  statsDirty_ = true;
}

bool TChartValueList::StoredAscending() const {
  const std::size_t count = values_.size();
  std::size_t k = ascendingPrefix_;
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
