// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>

// The generator behind the generator trace's noise. Tests hand in their own to get a fixed
// sequence; the program uses the clock-seeded one.
class TRandomSource {
 public:
  virtual ~TRandomSource() = default;
  virtual void Randomize() = 0;
  // A uniformly distributed integer in 0 .. range - 1 (0 when range < 1).
  virtual int Random(int range) = 0;
};

class TClockRandomSource final : public TRandomSource {
 public:
  TClockRandomSource();
  void Randomize() override;
  int Random(int range) override;

 private:
  std::mt19937 engine_;
};
