#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bench_recorder.h"
#include "sim/bench.h"

namespace {

constexpr double kTolerance = 1e-12;

TEST(GeneratorWave, IsTheVoltageWithTheDrawnRipple) {
  ScriptedRandom random({0, 199, 100, 50});  // r = -100, 99, 0, -50
  TBench bench;
  bench.SetRandomSource(&random);
  bench.SetMotorVoltage(16);
  bench.BuildGeneratorWave();

  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(random.lastRange, 200);
  const double expected[] = {15.68, 16.3168, 16.0, 15.84};
  for (int i = 0; i < TBench::kClearedSamples; ++i) {
    EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[i]), expected[i % 4], kTolerance) << i;
  }
  EXPECT_EQ(bench.WaveSamples()[150], 0);
}

TEST(GeneratorWave, NegativeVoltageMirrorsTheRipple) {
  ScriptedRandom random({0, 199});
  TBench bench;
  bench.SetRandomSource(&random);
  bench.SetMotorVoltage(-16);
  bench.BuildGeneratorWave();
  EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[0]), -15.68, kTolerance);
  EXPECT_NEAR(static_cast<double>(bench.WaveSamples()[1]), -16.3168, kTolerance);
}

TEST(GeneratorWave, ZeroVoltageIsFlat) {
  TBench bench;  // the clock-seeded generator
  bench.SetMotorVoltage(5);
  bench.BuildGeneratorWave();  // a wave to replace
  bench.SetMotorVoltage(0);
  bench.BuildGeneratorWave();
  for (int i = 0; i < TBench::kWaveCapacity; ++i)
    EXPECT_EQ(bench.WaveSamples()[i], 0) << i;
}

TEST(GeneratorWave, ClockSeededNoiseStaysInRangeAndChangesEachTime) {
  TBench bench;
  bench.SetMotorVoltage(16);
  bench.BuildGeneratorWave();
  const std::vector<long double> first(bench.WaveSamples().begin(),
                                       bench.WaveSamples().begin() + TBench::kClearedSamples);
  for (long double v : first) {
    EXPECT_GE(v, 15.68L - 1e-12L);
    EXPECT_LE(v, 16.3168L + 1e-12L);
  }
  bench.BuildGeneratorWave();
  const std::vector<long double> second(bench.WaveSamples().begin(),
                                        bench.WaveSamples().begin() + TBench::kClearedSamples);
  EXPECT_NE(first, second);
}

TEST(ClockRandomSource, DrawsEveryIntegerOfTheRangeUniformly) {
  TClockRandomSource source;
  std::vector<int> counts(200, 0);
  constexpr int kDraws = 200000;
  for (int i = 0; i < kDraws; ++i) {
    const int r = source.Random(200);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 200);
    ++counts[r];
  }
  // 1000 expected per value, standard deviation about 32.
  const auto [low, high] = std::minmax_element(counts.begin(), counts.end());
  EXPECT_GT(*low, 800);
  EXPECT_LT(*high, 1200);
}

TEST(ClockRandomSource, EmptyRangesDrawZero) {
  TClockRandomSource source;
  EXPECT_EQ(source.Random(0), 0);
  EXPECT_EQ(source.Random(-5), 0);
  EXPECT_EQ(source.Random(1), 0);
}

}  // namespace
