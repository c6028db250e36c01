// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Keeps the rare growth step out of the inlined append.
#if defined(__GNUC__) || defined(__clang__)
#define SIMHACHEUR_NOINLINE [[gnu::noinline]]
#elif defined(_MSC_VER)
#define SIMHACHEUR_NOINLINE __declspec(noinline)
#else
#define SIMHACHEUR_NOINLINE
#endif

// Storage blocks of the point lists. Large blocks are mapped pages that grow by remapping, so
// a list of a million points is never copied as it grows.
void* ResizeBlock(void* block, std::size_t oldBytes, std::size_t newBytes);
void FreeBlock(void* block, std::size_t bytes) noexcept;

// Growth of the point lists: doubling while small, so refilling a trace of a few hundred
// points takes a handful of allocations, then a quarter at a time beyond 4096 entries, so a
// large series wastes at most a quarter of its storage instead of the half doubling can leave.
inline std::size_t NextListCapacity(std::size_t capacity) {
  if (capacity < 16) return 16;
  if (capacity < 4096) return capacity * 2;
  return capacity + capacity / 4;
}

// True when a block of `bytes` grows by having its pages remapped, never copied: a step then
// costs one system call whatever its size, so such blocks can grow in small steps.
bool GrowsInPlace(std::size_t bytes);

// A contiguous list of plain values for the hot path of a series: appending is one comparison
// and one store, and growing goes through realloc, which can extend a block in place (large
// blocks are remapped, not copied). Clearing gives the storage back but remembers how many
// entries the list held, up to kRefillHint, so a trace refilled with as many points allocates
// once instead of growing step by step.
template <class T>
class TPodList {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  TPodList() = default;
  TPodList(const TPodList& other) { *this = other; }
  TPodList(TPodList&& other) noexcept { Swap(other); }
  TPodList& operator=(const TPodList& other) {
    if (this != &other) {
      Release();
      Reserve(other.size_);
      if (other.size_ > 0) std::memcpy(data_, other.data_, other.size_ * sizeof(T));
      size_ = other.size_;
    }
    return *this;
  }
  TPodList& operator=(TPodList&& other) noexcept {
    TPodList moved(std::move(other));
    Swap(moved);
    return *this;
  }
  ~TPodList() { FreeBlock(data_, capacity_); }

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  const T& back() const { return data_[size_ - 1]; }

  void push_back(T value) {
    if (size_ == capacity_) [[unlikely]]
      Grow();
    data_[size_++] = value;
  }
  void insert(std::size_t index, T value) {
    if (size_ == capacity_) [[unlikely]]
      Grow();
    std::memmove(data_ + index + 1, data_ + index, (size_ - index) * sizeof(T));
    data_[index] = value;
    ++size_;
  }
  void resize(std::size_t count, T value) {
    Reserve(count);
    for (std::size_t i = size_; i < count; ++i)
      data_[i] = value;
    size_ = count;
  }
  void erase(std::size_t index) {
    std::memmove(data_ + index, data_ + index + 1, (size_ - index - 1) * sizeof(T));
    --size_;
  }
  template <class U>
  static void FreeBlock(U* block, std::size_t capacity) noexcept {
    ::FreeBlock(block, capacity * sizeof(U));
  }

  void Release() {
    refillHint_ = size_ < kRefillHint ? size_ : kRefillHint;
    FreeBlock(data_, capacity_);
    data_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  static constexpr std::size_t kRefillHint = 4096;

  // A sixteenth at a time where growing copies nothing: a million points then hold at most
  // 17 bytes a coordinate pair instead of 20.
  SIMHACHEUR_NOINLINE void Grow() {
    const std::size_t next = GrowsInPlace(capacity_ * sizeof(T)) ? capacity_ + capacity_ / 16
                                                                 : NextListCapacity(capacity_);
    Reserve(capacity_ == 0 && refillHint_ > next ? refillHint_ : next);
  }
  void Reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    data_ = static_cast<T*>(ResizeBlock(data_, capacity_ * sizeof(T), capacity * sizeof(T)));
    capacity_ = capacity;
  }
  void Swap(TPodList& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    std::swap(refillHint_, other.refillHint_);
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t refillHint_ = 0;
};
