// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "chart/series/pod_list.h"

// A per-point attribute (colour, label) that most series never set: it stays empty, and costs
// nothing per point, until a point brings a value other than `Default`; from then on it holds
// one entry per point. Plain values (colours) sit in a TPodList, texts in a vector.
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
    InsertAt(entries_, index, T(value));
  }

  void Set(std::size_t index, T value, std::size_t count) {
    if (entries_.empty()) {
      if (value == default_) return;
      entries_.resize(count, default_);
    }
    entries_[index] = std::move(value);
  }

  void Erase(std::size_t index) {
    if (index < entries_.size()) EraseAt(entries_, index);
  }

  void Clear() { Release(entries_); }

 private:
  using Storage = std::conditional_t<std::is_trivially_copyable_v<T>, TPodList<T>, std::vector<T>>;

  static void InsertAt(TPodList<T>& list, std::size_t index, T value) { list.insert(index, value); }
  static void InsertAt(std::vector<T>& list, std::size_t index, T value) {
    if (list.size() == list.capacity()) list.reserve(NextListCapacity(list.capacity()));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
  }
  static void EraseAt(TPodList<T>& list, std::size_t index) { list.erase(index); }
  static void EraseAt(std::vector<T>& list, std::size_t index) {
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  }
  static void Release(TPodList<T>& list) { list.Release(); }
  static void Release(std::vector<T>& list) { std::vector<T>().swap(list); }

  T default_;
  Storage entries_;
};
