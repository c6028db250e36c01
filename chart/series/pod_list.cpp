// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/pod_list.h"

#include <cstdlib>
#include <cstring>
#include <new>

// Linux can grow a block of mapped pages in place (mremap) and back it with large pages; other
// systems, and builds that ask for the portable code, grow every block with realloc.
#if defined(__linux__) && !defined(SIMHACHEUR_PORTABLE)
#define SIMHACHEUR_MAPPED_LISTS 1
#include <sys/mman.h>
#endif

#ifdef SIMHACHEUR_MAPPED_LISTS

namespace {

// From here on a block lives in its own pages. The allocator would otherwise raise its own
// mapping threshold after the first large free and copy the block at every growth step.
constexpr std::size_t kMappedBytes = std::size_t{256} * 1024;

// Large pages where the system offers them on request: a list of a million points then
// takes a handful of page faults instead of thousands.
void* Advised(void* block, std::size_t bytes) {
  madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

void* MapBytes(std::size_t bytes) {
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return Advised(block, bytes);
}

}  // namespace

void* ResizeBlock(void* block, std::size_t oldBytes, std::size_t newBytes) {
  if (newBytes < kMappedBytes) {
    void* grown = std::realloc(block, newBytes);
    if (grown == nullptr) throw std::bad_alloc();
    return grown;
  }
  if (block != nullptr && oldBytes >= kMappedBytes) {
    void* grown = mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED) throw std::bad_alloc();
    return Advised(grown, newBytes);
  }
  void* mapped = MapBytes(newBytes);
  if (block != nullptr) {
    std::memcpy(mapped, block, oldBytes);
    std::free(block);
  }
  return mapped;
}

bool GrowsInPlace(std::size_t bytes) {
  return bytes >= kMappedBytes;
}

void FreeBlock(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  if (bytes >= kMappedBytes) {
    munmap(block, bytes);
  } else {
    std::free(block);
  }
}

#else

void* ResizeBlock(void* block, std::size_t, std::size_t newBytes) {
  void* grown = std::realloc(block, newBytes);
  if (grown == nullptr) throw std::bad_alloc();
  return grown;
}

bool GrowsInPlace(std::size_t) {
  return false;  // realloc may copy
}

void FreeBlock(void* block, std::size_t) noexcept {
  std::free(block);
}

#endif
