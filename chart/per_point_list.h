#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "chart/pod_list.h"

// A per-point attribute (colour, label) that most series never set: it stays empty, and costs
// nothing per point, until a point brings a value other than `Default`; from then on it holds
// one entry per point.
template <class T>
class TPerPointList {
 public:
  explicit TPerPointList(T defaultValue) : default_(std::move(defaultValue)) {}

  // The value of point `index` of a series of `count` points (`index` already checked).
  const T& At(std::size_t index) const {
    return index < entries_.size() ? entries_[index] : default_;
  }

  // Point `index` was inserted; `count` is the point count before the insertion.
  template <class U>
  void Insert(std::size_t index, const U& value, std::size_t count) {
    if (entries_.empty() && value == default_) return;
    entries_.resize(count, default_);
    if (entries_.size() == entries_.capacity()) {
      entries_.reserve(NextListCapacity(entries_.capacity()));
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), T(value));
  }

  void Set(std::size_t index, T value, std::size_t count) {
    if (entries_.empty()) {
      if (value == default_) return;
      entries_.resize(count, default_);
    }
    entries_[index] = std::move(value);
  }

  void Erase(std::size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  }

  void Clear() { std::vector<T>().swap(entries_); }

 private:
  T default_;
  std::vector<T> entries_;
};
