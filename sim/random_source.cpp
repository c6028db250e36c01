// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/random_source.h"

#include <chrono>

TClockRandomSource::TClockRandomSource() {
  Randomize();
}

void TClockRandomSource::Randomize() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  // Fold the high bits in: two reseeds a few nanoseconds apart must still differ.
  std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
  engine_.seed(seed);
}

int TClockRandomSource::Random(int range) {
  if (range < 1) return 0;
  return std::uniform_int_distribution<int>(0, range - 1)(engine_);
}
