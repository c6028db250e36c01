// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "bench_recorder.h"
#include "sim/bench.h"

namespace {

constexpr double kTolerance = 1e-12;

TEST(GeneratorWave, IsTheVoltageWithTheDrawnRipple) {
  ScriptedRandom random({0, 199, 100, 50});  // r = -100, 99, 0, -50
  TBench bench;
  const TBenchSteps steps(bench);
  bench.SetRandomSource(&random);
  steps.SetMotorVoltage(16);
  steps.BuildGeneratorWave();

  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(random.lastRange, 200);
  const double expected[] = {15.68, 16.3168, 16.0, 15.84};
  for (std::size_t i = 0; i < TBench::kClearedSamples; ++i) {
    EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[i]), expected[i % 4], kTolerance) << i;
  }
  EXPECT_EQ(bench.WaveSamples()[150], 0);
}

TEST(GeneratorWave, NegativeVoltageMirrorsTheRipple) {
  ScriptedRandom random({0, 199});
  TBench bench;
  const TBenchSteps steps(bench);
  bench.SetRandomSource(&random);
  steps.SetMotorVoltage(-16);
  steps.BuildGeneratorWave();
  EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[0]), -15.68, kTolerance);
  EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[1]), -16.3168, kTolerance);
}

TEST(GeneratorWave, ZeroVoltageIsFlat) {
  TBench bench;  // the clock-seeded generator
  const TBenchSteps steps(bench);
  steps.SetMotorVoltage(5);
  steps.BuildGeneratorWave();  // a wave to replace
  steps.SetMotorVoltage(0);
  steps.BuildGeneratorWave();
  for (std::size_t i = 0; i < TBench::kWaveCapacity; ++i)
    EXPECT_EQ(bench.WaveSamples()[i], 0) << i;
}

TEST(GeneratorWave, ClockSeededNoiseStaysInRangeAndChangesEachTime) {
  TBench bench;
  const TBenchSteps steps(bench);
  steps.SetMotorVoltage(16);
  steps.BuildGeneratorWave();
  const std::vector<long double> first(bench.WaveSamples().begin(),
                                       bench.WaveSamples().begin() + TBench::kClearedSamples);
  for (long double v : first) {
    EXPECT_GE(v, 15.68L - 1e-12L);
    EXPECT_LE(v, 16.3168L + 1e-12L);
  }
  steps.BuildGeneratorWave();
  const std::vector<long double> second(bench.WaveSamples().begin(),
                                        bench.WaveSamples().begin() + TBench::kClearedSamples);
  EXPECT_NE(first, second);
}

// Every value of the range comes up, none outside it, and none far more than its share: a
// Pearson chi-square over 199 degrees of freedom stays below 320 except once in a billion runs,
// while a generator stuck on a bit or folded onto half the range scores in the thousands.
TEST(ClockRandomSource, DrawsEveryIntegerOfTheRangeEvenly) {
  TClockRandomSource source;
  constexpr int kValues = 200;
  constexpr int kDraws = 200000;
  std::vector<int> counts(kValues, 0);
  for (int i = 0; i < kDraws; ++i) {
    const int r = source.Random(kValues);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, kValues);
    ++counts[static_cast<std::size_t>(r)];
  }
  const double expected = double{kDraws} / kValues;
  double chiSquare = 0;
  for (int count : counts)
    chiSquare += (count - expected) * (count - expected) / expected;
  EXPECT_LT(chiSquare, 320.0);
  EXPECT_EQ(std::count(counts.begin(), counts.end(), 0), 0);
}

TEST(ClockRandomSource, EmptyRangesDrawZero) {
  TClockRandomSource source;
  EXPECT_EQ(source.Random(0), 0);
  EXPECT_EQ(source.Random(-5), 0);
  EXPECT_EQ(source.Random(1), 0);
}

}  // namespace
