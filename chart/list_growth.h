#pragma once

#include <cstddef>
#include <vector>

// Point lists grow by 4 entries up to 8, by 16 up to 64 and by a quarter beyond, so a large
// series wastes at most a quarter of its storage instead of the half that doubling can leave.
inline std::size_t NextListCapacity(std::size_t capacity) {
  if (capacity <= 8) return capacity + 4;
  if (capacity <= 64) return capacity + 16;
  return capacity + capacity / 4;
}

template <class T>
void GrowForOneMore(std::vector<T>& list) {
  if (list.size() == list.capacity()) list.reserve(NextListCapacity(list.capacity()));
}

// Clearing gives the storage back; the next additions grow it again.
template <class T>
void ReleaseList(std::vector<T>& list) {
  std::vector<T>().swap(list);
}
