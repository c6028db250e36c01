#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <vector>

#include "sim/bench.h"

namespace {

constexpr long double E = 10.4L;
constexpr int kBuiltSamples = 110;  // 0 .. 99 are shown, 100 .. 109 take the tails

// The expected period, written as consecutive stretches.
class Wave {
 public:
  Wave& Run(long double value, int count) {
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
  Wave& FillTo(long double value, int end) {
    return Run(value, end - static_cast<int>(samples_.size()));
  }
  const std::vector<long double>& Samples() const { return samples_; }

 private:
  std::vector<long double> samples_;
};

TBench Built(int type, int direction, int wiring, int percent, long double supply = E) {
  TBench bench;
  bench.SupplyVoltage = supply;
  bench.ChopperType = type;
  bench.RotationDirection = direction;
  bench.ConnectionMode = wiring;
  bench.SpeedPercent = percent;
  bench.BuildChopperWave();
  return bench;
}

void ExpectPeriod(const TBench& bench, const Wave& expected, int count = kBuiltSamples) {
  ASSERT_LE(count, static_cast<int>(expected.Samples().size()));
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(bench.WaveSamples[i], expected.Samples()[i]) << "sample " << i;
  }
}

// --- "+ ou -": on for samples 0 .. p, then off --------------------------------------------

TEST(OnOffChopperWave, ClockwiseWithoutInductance) {
  ExpectPeriod(Built(1, 1, 2, 1), Wave().Run(E, 2).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(1, 1, 0, 50), Wave().Run(E, 51).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(1, 1, 2, 100), Wave().Run(E, 101).FillTo(0, kBuiltSamples));
}

TEST(OnOffChopperWave, ClockwiseWithInductanceSpikesBelowZeroAtSwitchOff) {
  ExpectPeriod(Built(1, 1, 1, 50), Wave().Run(E, 51).Spike(0, -1).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(1, 1, 1, 1), Wave().Run(E, 2).Spike(0, -1).FillTo(0, kBuiltSamples));
  // At full speed the spike lands beyond the shown period.
  ExpectPeriod(Built(1, 1, 1, 100), Wave().Run(E, 101).Spike(0, -1).FillTo(0, kBuiltSamples));
}

TEST(OnOffChopperWave, AnticlockwiseIsTheMirrorImage) {
  ExpectPeriod(Built(1, 0, 2, 30), Wave().Run(-E, 31).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(1, 0, 1, 30), Wave().Run(-E, 31).Spike(0, +1).FillTo(0, kBuiltSamples));
  ExpectPeriod(Built(1, 0, 1, 100), Wave().Run(-E, 100), 100);
}

TEST(OnOffChopperWave, ZeroSpeedIsFlat) {
  for (int wiring : {0, 1, 2}) {
    ExpectPeriod(Built(1, 1, wiring, 0), Wave().FillTo(0, 150), 150);
    ExpectPeriod(Built(1, 0, wiring, 0), Wave().FillTo(0, 150), 150);
  }
}

// --- "+ et -", clockwise: +E for 50 + h samples -----------------------------------------------

TEST(PlusMinusChopperWave, ClockwiseWithoutInductance) {
  // Type 2 keeps switching at zero speed, half the period each way.
  ExpectPeriod(Built(2, 1, 2, 0), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  // h is p / 2 with ties to even: p = 1 gives 0, p = 3 gives 2, p = 5 gives 2.
  ExpectPeriod(Built(2, 1, 2, 1), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(3, 1, 0, 3), Wave().Run(E, 52).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(3, 1, 2, 5), Wave().Run(E, 52).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(2, 1, 2, 99), Wave().Run(E, 100).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(2, 1, 2, 100), Wave().Run(E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, ClockwiseWithInductance) {
  ExpectPeriod(Built(2, 1, 1, 50),
               Wave().Spike(E, +1).Run(E, 70).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(3, 1, 1, 97),  // h = 48
               Wave().Spike(E, +1).Run(E, 93).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // No spike is left at full speed.
  ExpectPeriod(Built(2, 1, 1, 100), Wave().Run(E, kBuiltSamples));
  ExpectPeriod(Built(3, 1, 1, 100), Wave().Run(E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, TypeThreeIsOffAtZeroSpeed) {
  for (int direction : {0, 1}) {
    for (int wiring : {0, 1, 2}) {
      ExpectPeriod(Built(3, direction, wiring, 0), Wave().FillTo(0, 150), 150);
    }
  }
}

// --- "+ et -", anticlockwise: +E for 50 - h samples, at least one --------------------------------

TEST(PlusMinusChopperWave, AnticlockwiseWithoutInductance) {
  ExpectPeriod(Built(2, 0, 2, 0), Wave().Run(E, 50).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(2, 0, 0, 40), Wave().Run(E, 30).FillTo(-E, kBuiltSamples));
  // 50 - h reaches 0 at p = 99: one +E sample is still written.
  ExpectPeriod(Built(3, 0, 2, 99), Wave().Run(E, 1).FillTo(-E, kBuiltSamples));
  ExpectPeriod(Built(2, 0, 2, 100), Wave().Run(-E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, AnticlockwiseOpeningSpikeShrinksNearFullSpeed) {
  // p = 89: h = 44, a full opening spike, one sample of E up to index 5.
  ExpectPeriod(Built(2, 0, 1, 89),
               Wave().Spike(E, +1).Run(E, 1).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 90: three opening samples, E up to index 4.
  ExpectPeriod(Built(2, 0, 1, 90),
               Wave().Then({E + 20, E + 10, E + 5, E, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 94: 50 - h = 3 is already reached, yet one sample of E is written.
  ExpectPeriod(Built(3, 0, 1, 94),
               Wave().Then({E + 20, E + 10, E + 5, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  // p = 95 and 96: a single 32 V sample, then one E.
  for (int p : {95, 96}) {
    ExpectPeriod(Built(2, 0, 1, p), Wave().Then({32, E}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  }
  // From p = 97 on, no E at all.
  for (int p : {97, 98, 99}) {
    ExpectPeriod(Built(2, 0, 1, p), Wave().Then({32}).Spike(-E, -1).FillTo(-E, kBuiltSamples));
  }
  ExpectPeriod(Built(2, 0, 1, 100), Wave().Run(-E, kBuiltSamples));
}

TEST(PlusMinusChopperWave, OpeningSampleIsThirtyTwoVoltsWhateverTheSupply) {
  ExpectPeriod(Built(2, 0, 1, 98, 11.2L), Wave().Then({32}).Spike(-11.2L, -1).FillTo(-11.2L, 110));
}

// --- Settings that choose no wave ---------------------------------------------------------------

TEST(ChopperWave, AnythingNotChosenGivesAFlatTrace) {
  for (int type : {1, 2, 3}) {
    ExpectPeriod(Built(type, 10, 2, 50), Wave().FillTo(0, 150), 150);
    ExpectPeriod(Built(type, 1, 10, 50), Wave().FillTo(0, 150), 150);
  }
  ExpectPeriod(Built(0, 1, 2, 50), Wave().FillTo(0, 150), 150);
}

TEST(ChopperWave, EachBuildStartsFromAnEmptyBuffer) {
  TBench bench = Built(2, 0, 1, 50);
  bench.WaveSamples[140] = 99;  // a stale sample in the cleared zone
  bench.ChopperType = 3;
  bench.SpeedPercent = 0;
  bench.BuildChopperWave();
  ExpectPeriod(bench, Wave().FillTo(0, 150), 150);
}

// Set-points no caller should hand in, and codes that match no branch: the wave stays inside
// its buffer, the fields around it keep their values, and the build ends.
TEST(ChopperWave, OutOfRangeSetPointsStayInsideTheBuffer) {
  for (int percent : {-1, -7, 101, 109, 150, 199, 1000, INT_MAX, INT_MIN}) {
    for (int type : {1, 2, 3, 4, -1}) {
      for (int direction : {0, 1}) {
        for (int wiring : {0, 1, 2}) {
          TBench bench = Built(type, direction, wiring, percent);
          EXPECT_EQ(bench.SupplyVoltage, E);
          EXPECT_EQ(bench.SpeedPercent, percent);
          EXPECT_EQ(bench.ReferenceVoltage, 0.0);
          EXPECT_EQ(bench.ChopperType, type);
          for (int i = 150; i < TBench::kWaveCapacity; ++i) {
            ASSERT_EQ(bench.WaveSamples[i], 0) << "p " << percent << " sample " << i;
          }
        }
      }
    }
  }
}

}  // namespace
