// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/pod_list.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<double> Contents(const TPodList<double>& list) {
  return std::vector<double>(list.begin(), list.end());
}

// Random appends, inserts and erases against std::vector, through sizes on both sides of the
// point where blocks move from the allocator to mapped pages.
TEST(PodList, FollowsAVectorThroughEveryGrowthPath) {
  std::mt19937 random(42);
  for (int target : {5, 300, 40000, 200000}) {
    TPodList<double> list;
    std::vector<double> reference;
    while (static_cast<int>(reference.size()) < target) {
      const auto value = static_cast<double>(random());
      const int op = static_cast<int>(random() % 10);
      if (op < 7 || reference.empty()) {
        list.push_back(value);
        reference.push_back(value);
      } else if (op < 9) {
        const std::size_t at = random() % (reference.size() + 1);
        list.insert(at, value);
        reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(at), value);
      } else {
        const std::size_t at = random() % reference.size();
        list.erase(at);
        reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(at));
      }
    }
    ASSERT_EQ(list.size(), reference.size());
    EXPECT_EQ(Contents(list), reference) << "target " << target;
    EXPECT_GE(list.capacity(), list.size());
    // A large list wastes at most a quarter of what it holds (plus the first step).
    if (target > 4096) {
      EXPECT_LE(list.capacity(), list.size() + list.size() / 4 + 1);
    }

    TPodList<double> copy(list);
    TPodList<double> moved(std::move(list));
    EXPECT_EQ(Contents(copy), reference);
    EXPECT_EQ(Contents(moved), reference);
    copy = moved;
    EXPECT_EQ(Contents(copy), reference);
  }
}

// Where growing copies nothing, each step adds a sixteenth: just after a step, the list holds
// at most a sixteenth more than it uses.
TEST(PodList, ListsThatGrowInPlaceWasteASixteenth) {
#if defined(__linux__) && !defined(SIMHACHEUR_PORTABLE)
  ASSERT_TRUE(GrowsInPlace(std::size_t{1} << 20));
#endif
  TPodList<double> list;
  int steps = 0;
  for (int i = 0; i < 1000000; ++i) {
    const std::size_t before = list.capacity();
    list.push_back(i);
    if (list.capacity() == before || !GrowsInPlace(before * sizeof(double))) continue;
    ++steps;
    ASSERT_LE(list.capacity(), list.size() + list.size() / 16 + 1) << "at " << list.size();
  }
  if (GrowsInPlace(std::size_t{1} << 20)) {
    EXPECT_GT(steps, 0);
  }
  EXPECT_EQ(list[999999], 999999);
}

TEST(PodList, ReleaseGivesTheStorageBackAndRefillsInOneStep) {
  TPodList<double> list;
  for (int i = 0; i < 500; ++i)
    list.push_back(i);
  list.Release();
  EXPECT_EQ(list.size(), 0u);
  EXPECT_EQ(list.capacity(), 0u);
  list.push_back(1);
  EXPECT_GE(list.capacity(), 500u);  // one allocation for a refill of the same size

  TPodList<double> big;
  for (int i = 0; i < 100000; ++i)
    big.push_back(i);
  big.Release();
  big.push_back(1);
  EXPECT_LE(big.capacity(), 4096u);  // the hint is capped: a small refill stays small
}

TEST(PodList, ResizeFillsWithTheGivenValue) {
  TPodList<unsigned> list;
  list.push_back(7);
  list.resize(4, 9);
  EXPECT_EQ(std::vector<unsigned>(list.begin(), list.end()), (std::vector<unsigned>{7, 9, 9, 9}));
}

}  // namespace
