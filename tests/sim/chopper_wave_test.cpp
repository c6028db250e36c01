// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <vector>

#include "sim/bench.h"
#include "tests/support/bench_scene.h"

namespace {

constexpr long double E = 10.4L;
constexpr std::size_t kBuiltSamples = 110;  // 0 .. 99 are shown, 100 .. 109 take the tails

// The expected period, written as consecutive stretches.
class Wave {
 public:
  Wave& Run(long double value, std::size_t count) {
    samples_.insert(samples_.end(), count, value);
    return *this;
  }
  Wave& Then(std::initializer_list<long double> values) {
    samples_.insert(samples_.end(), values);
    return *this;
  }
  Wave& Spike(long double level, int sign) {  // the five decaying samples around `level`
    return Then({level + sign * 20.0L, level + sign * 10.0L, level + sign * 5.0L,
                 level + sign * 2.5L, level + sign * 1.25L});
  }
  Wave& FillTo(long double value, std::size_t end) { return Run(value, end - samples_.size()); }
  const std::vector<long double>& Samples() const { return samples_; }

 private:
  std::vector<long double> samples_;
};

// Short names for the table rows: types 1 .. 3, directions and wirings.
constexpr TChopperType kOnOff = TChopperType::kPlusOrMinus;
constexpr TChopperType kFed = TChopperType::kPlusAndMinusFedAtZero;
constexpr TChopperType kOff = TChopperType::kPlusAndMinusOffAtZero;
constexpr TDirection kCw = TDirection::kClockwise;
constexpr TDirection kCcw = TDirection::kAnticlockwise;
constexpr TWiring kOpen = TWiring::kNotConnected;
constexpr TWiring kSelf = TWiring::kWithInductance;
constexpr TWiring kNoSelf = TWiring::kWithoutInductance;

// The wave at `percent`, set as the bar does it (position 2 p).
TBench Built(TChopperType type, TDirection direction, TWiring wiring, int percent,
             long double supply = E) {
  TBench bench;
  const TBenchSteps steps(bench);
  steps.SetSupplyVoltage(supply);
  steps.SetChopperType(type);
  steps.SetRotationDirection(direction);
  steps.SetConnectionMode(wiring);
  bench.SetSpeedSetting(2 * percent);
  steps.BuildChopperWave();
  return bench;
}

void ExpectPeriod(const TBench& bench, const Wave& expected, std::size_t count = kBuiltSamples) {
  ASSERT_LE(count, expected.Samples().size());
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(bench.WaveSamples()[i], expected.Samples()[i]) << "sample " << i;
  }
}

// --- "+ ou -": on for samples 0 .. p, then off --------------------------------------------

TEST(OnOffChopperWave, ClockwiseWithoutInductance) {
  ExpectPeriod(Built(kOnOff, kCw, kNoSelf, 1), Wave().Run(E, 2).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(kOnOff, kCw, kOpen, 50), Wave().Run(E, 51).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(kOnOff, kCw, kNoSelf, 100), Wave().Run(E, 101).FillTo(0, kBuiltSamples));
}

TEST(OnOffChopperWave, ClockwiseWithInductanceSpikesBelowZeroAtSwitchOff) {
  ExpectPeriod(Built(kOnOff, kCw, kSelf, 50),
               Wave().Run(E, 51).Spike(0, -1).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(kOnOff, kCw, kSelf, 1),
               Wave().Run(E, 2).Spike(0, -1).FillTo(0, kBuiltSamples));
  // At full speed the spike lands beyond the shown period.
  ExpectPeriod(Built(kOnOff, kCw, kSelf, 100),
               Wave().Run(E, 101).Spike(0, -1).FillTo(0, kBuiltSamples));
}

TEST(OnOffChopperWave, AnticlockwiseIsTheMirrorImage) {
  ExpectPeriod(Built(kOnOff, kCcw, kNoSelf, 30), Wave().Run(-E, 31).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(kOnOff, kCcw, kSelf, 30),
               Wave().Run(-E, 31).Spike(0, +1).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(kOnOff, kCcw, kSelf, 100), Wave().Run(-E, 100), 100);
}

TEST(OnOffChopperWave, ZeroSpeedIsFlat) {
  for (TWiring wiring : {kOpen, kSelf, kNoSelf}) {
    ExpectPeriod(Built(kOnOff, kCw, wiring, 0), Wave().FillTo(0, 150), 150);
    ExpectPeriod(Built(kOnOff, kCcw, wiring, 0), Wave().FillTo(0, 150), 150);
  }
}

// --- "+ et -", clockwise: +E for 50 + h samples -----------------------------------------------

TEST(PlusMinusChopperWave, ClockwiseWithoutInductance) {
  // Type 2 keeps switching at zero speed, half the period each way.
  ExpectPeriod(Built(kFed, kCw, kNoSelf, 0), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  // h is p / 2 with ties to even: p = 1 gives 0, p = 3 gives 2, p = 5 gives 2.
  ExpectPeriod(Built(kFed, kCw, kNoSelf, 1), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kOff, kCw, kOpen, 3), Wave().Run(E, 52).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kOff, kCw, kNoSelf, 5), Wave().Run(E, 52).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kFed, kCw, kNoSelf, 99), Wave().Run(E, 100).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kFed, kCw, kNoSelf, 100), Wave().Run(E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, ClockwiseWithInductance) {
  ExpectPeriod(Built(kFed, kCw, kSelf, 50),
               Wave().Spike(E, +1).Run(E, 70).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kOff, kCw, kSelf, 97),  // h = 48
               Wave().Spike(E, +1).Run(E, 93).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // No spike is left at full speed.
  ExpectPeriod(Built(kFed, kCw, kSelf, 100), Wave().Run(E, kBuiltSamples));
  ExpectPeriod(Built(kOff, kCw, kSelf, 100), Wave().Run(E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, TypeThreeIsOffAtZeroSpeed) {
  for (TDirection direction : {kCcw, kCw}) {
    for (TWiring wiring : {kOpen, kSelf, kNoSelf}) {
      ExpectPeriod(Built(kOff, direction, wiring, 0), Wave().FillTo(0, 150), 150);
    }
  }
}

// --- "+ et -", anticlockwise: +E for 50 - h samples, at least one --------------------------------

TEST(PlusMinusChopperWave, AnticlockwiseWithoutInductance) {
  ExpectPeriod(Built(kFed, kCcw, kNoSelf, 0), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kFed, kCcw, kOpen, 40), Wave().Run(E, 30).FillTo(-E, kBuiltSamples));
  // 50 - h reaches 0 at p = 99: one +E sample is still written.
  ExpectPeriod(Built(kOff, kCcw, kNoSelf, 99), Wave().Run(E, 1).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(kFed, kCcw, kNoSelf, 100), Wave().Run(-E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, AnticlockwiseOpeningSpikeShrinksNearFullSpeed) {
  // p = 89: h = 44, a full opening spike, one sample of E up to index 5.
  ExpectPeriod(Built(kFed, kCcw, kSelf, 89),
               Wave().Spike(E, +1).Run(E, 1).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 90: three opening samples, E up to index 4.
  ExpectPeriod(Built(kFed, kCcw, kSelf, 90),
               Wave().Then({E + 20, E + 10, E + 5, E, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 94: 50 - h = 3 is already reached, yet one sample of E is written.
  ExpectPeriod(Built(kOff, kCcw, kSelf, 94),
               Wave().Then({E + 20, E + 10, E + 5, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 95 and 96: a single 32 V sample, then one E.
  for (int p : {95, 96}) {
    ExpectPeriod(Built(kFed, kCcw, kSelf, p),
                 Wave().Then({32, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  }
  // From p = 97 on, no E at all.
  for (int p : {97, 98, 99}) {
    ExpectPeriod(Built(kFed, kCcw, kSelf, p),
                 Wave().Then({32}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  }
  ExpectPeriod(Built(kFed, kCcw, kSelf, 100), Wave().Run(-E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, OpeningSampleIsThirtyTwoVoltsWhateverTheSupply) {
  ExpectPeriod(Built(kFed, kCcw, kSelf, 98, 11.2L),
               Wave().Then({32}).Spike(-11.2L, -1).FillTo(-11.2L, 110));
}

// --- Settings that choose no wave ---------------------------------------------------------------

TEST(ChopperWave, AnythingNotChosenGivesAFlatTrace) {
  for (TChopperType type : {kOnOff, kFed, kOff}) {
    ExpectPeriod(Built(type, TDirection::kNotChosen, kNoSelf, 50), Wave().FillTo(0, 150), 150);
    ExpectPeriod(Built(type, kCw, TWiring::kNotChosen, 50), Wave().FillTo(0, 150), 150);
  }
  ExpectPeriod(Built(TChopperType::kNotChosen, kCw, kNoSelf, 50), Wave().FillTo(0, 150), 150);
}

TEST(ChopperWave, EachBuildStartsFromAnEmptyBuffer) {
  TBench bench = Built(kFed, kCcw, kSelf, 50);
  const TBenchSteps steps(bench);
  steps.SetMotorVoltage(16);
  steps.BuildGeneratorWave();  // every sample of the cleared zone written
  ASSERT_NE(bench.WaveSamples()[140], 0);
  steps.SetChopperType(kOff);
  bench.SetSpeedSetting(0);
  steps.BuildChopperWave();
  ExpectPeriod(bench, Wave().FillTo(0, 150), 150);
}

// Bar positions no caller should hand in: the wave stays inside its buffer, the values around
// it keep theirs, and the build ends.
TEST(ChopperWave, OutOfRangeSetPointsStayInsideTheBuffer) {
  for (int position : {-2, -14, 202, 218, 300, 398, 2000, INT_MAX, INT_MIN}) {
    for (TChopperType type : {kOnOff, kFed, kOff}) {
      for (TDirection direction : {kCcw, kCw}) {
        for (TWiring wiring : {kOpen, kSelf, kNoSelf}) {
          TBench bench;
          const TBenchSteps steps(bench);
          steps.SetSupplyVoltage(E);
          steps.SetChopperType(type);
          steps.SetRotationDirection(direction);
          steps.SetConnectionMode(wiring);
          bench.SetSpeedSetting(position);
          steps.BuildChopperWave();
          EXPECT_EQ(bench.SupplyVoltage(), E);
          EXPECT_EQ(bench.SpeedPercent(), TBench::HalveToEven(position));
          EXPECT_EQ(bench.ReferenceVoltage(), 0.0);
          EXPECT_EQ(bench.ChopperType(), type);
          for (std::size_t i = 150; i < TBench::kWaveCapacity; ++i) {
            ASSERT_EQ(bench.WaveSamples()[i], 0) << "position " << position << " sample " << i;
          }
        }
      }
    }
  }
}

}  // namespace
