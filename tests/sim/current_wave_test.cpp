// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope's current channel against the bench it is computed from.
#include "sim/current_wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_recorder.h"
#include "sim/measure.h"

namespace {

using W = TWiring;
using D = TDirection;
using C = TChopperType;
using M = TDrivingMachine;
using X = TExperiment;

// How a student gets there: the menu entry, the panel's buttons, then the speed bar.
struct Scene {
  X experiment;
  W wiring;  // one and two quadrants
  C type;    // two quadrants
  D direction;
  M machine;  // four quadrants
  int bar;
};

void Reach(TBench& b, const Scene& s) {
  b.ChooseExperiment(s.experiment);
  if (s.experiment == X::kFourQuadrants) {
    b.ChooseDrivingMachine(s.machine);
    b.ChooseMachineDirection(s.direction);
    b.SetMachineSpeedSetting(s.bar);
    b.RefreshFourQuadrant();
    return;
  }
  b.ChooseWiring(s.wiring);
  if (s.experiment == X::kTwoQuadrants) {
    b.ChooseChopperType(s.type);
    b.ChooseDirection(s.direction);
  }
  b.SetSpeedSetting(s.bar);
  b.RefreshOneOrTwoQuadrant();
}

Scene OneQuadrant(W wiring, int bar) {
  return {X::kOneQuadrant, wiring, C::kPlusOrMinus, D::kClockwise, M::kNotChosen, bar};
}
Scene TwoQuadrants(C type, D direction, int bar) {
  return {X::kTwoQuadrants, W::kWithoutInductance, type, direction, M::kNotChosen, bar};
}
Scene FourQuadrants(M machine, D direction, int bar) {
  return {X::kFourQuadrants, W::kNotChosen, C::kNotChosen, direction, machine, bar};
}

// What the Mesures window would read on the voltage trace's own X values.
TTraceMeasures Measure(const RecordedBench& rb, const std::vector<double>& values) {
  std::vector<double> times;
  for (const auto& point : rb.series1.points)
    times.push_back(point.first);
  return MeasureTrace(times.data(), values.data(), static_cast<int>(values.size()), 0, 25,
                      kCurrentPeriodSamples);
}

// "<i> delta-i min max I", then <i2> in four quadrants, as the Mesures window writes them.
std::string Readings(const RecordedBench& rb, const TCurrentWave& current) {
  const auto text = [](double value) { return FormatQuantity(value, nullptr, 3, ","); };
  const TTraceMeasures m = Measure(rb, current.i);
  std::string row = text(m.mean) + " " + text(m.peakToPeak) + " " + text(m.min) + " " +
                    text(m.max) + " " + text(m.rms);
  if (!current.i2.empty()) row += " " + text(Measure(rb, current.i2).mean);
  return row;
}

TEST(CurrentWave, RepresentativeValues) {
  const std::pair<Scene, const char*> rows[] = {
      {OneQuadrant(W::kWithoutInductance, 20), "0,843 0,548 0,568 1,117 0,857"},
      {OneQuadrant(W::kWithoutInductance, 100), "0,957 1,399 0,257 1,657 1,039"},
      {OneQuadrant(W::kWithInductance, 100), "0,957 0,140 0,887 1,027 0,958"},
      {TwoQuadrants(C::kPlusAndMinusFedAtZero, D::kClockwise, 0), "0,000 2,600 -1,300 1,300 0,751"},
      {TwoQuadrants(C::kPlusAndMinusFedAtZero, D::kClockwise, 100),
       "0,947 1,950 -0,028 1,922 1,102"},
      {TwoQuadrants(C::kPlusOrMinus, D::kAnticlockwise, 100), "-0,947 1,299 -1,597 -0,297 1,018"},
      {FourQuadrants(M::kMachine1, D::kClockwise, 10), "0,407 0,293 0,261 0,554 0,416 0,023"},
      {FourQuadrants(M::kMachine1, D::kClockwise, 100), "0,947 1,299 0,297 1,597 1,018 0,476"},
      {FourQuadrants(M::kMachine1, D::kAnticlockwise, 200),
       "-1,080 0,000 -1,080 -1,080 1,080 1,080"},
      {FourQuadrants(M::kMachine2, D::kAnticlockwise, 200), "0,400 0,000 0,400 0,400 0,400 -0,400"},
  };
  for (const auto& [scene, expected] : rows) {
    RecordedBench rb;
    Reach(rb.bench, scene);
    const auto readings = rb.readings.history;
    const auto trace = rb.series1.points;
    const auto wave = rb.bench.WaveSamples();
    EXPECT_EQ(Readings(rb, ComputeCurrentWave(rb.bench)), expected);
    EXPECT_EQ(rb.readings.history, readings);  // the bench is left untouched
    EXPECT_EQ(rb.series1.points, trace);
    EXPECT_EQ(rb.bench.WaveSamples(), wave);
  }
}

double Mean(const std::vector<double>& v) {
  return std::accumulate(v.begin(), v.begin() + kCurrentPeriodSamples, 0.0) / kCurrentPeriodSamples;
}
double Ripple(const std::vector<double>& v) {
  const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
  return *hi - *lo;
}

// At every bar position, both ways: ammeter n°1's law for the mean, every period the same, no
// jump where one ends and the next begins (v - <v> lies within E, so a step is at most E dt / L),
// and no reversal.
TEST(CurrentWave, FollowsTheAmmetersLawPeriodicallyAndWithoutJumps) {
  for (D direction : {D::kClockwise, D::kAnticlockwise}) {
    for (int bar = 0; bar <= 200; ++bar) {
      SCOPED_TRACE(testing::Message() << "bar " << bar << " direction " << int(direction));
      TBench b;
      Reach(b, FourQuadrants(M::kMachine1, direction, bar));
      const double current1 = static_cast<double>(b.Current1());
      EXPECT_EQ(MotorMeanCurrent(b.MotorVoltage(), direction), current1);
      const std::vector<double> i = ComputeCurrentWave(b).i;
      ASSERT_EQ(i.size(), kCurrentTracePoints);
      EXPECT_NEAR(Mean(i), current1, 1e-12);
      for (std::size_t k = 0; k < i.size(); ++k) {
        const std::size_t before = k >= kCurrentPeriodSamples ? k - kCurrentPeriodSamples : k;
        ASSERT_EQ(i[k], i[before]);
        ASSERT_LE(std::fabs(i[k] - i[k > 0 ? k - 1 : 0]), 10.4 * 0.05e-3 / 10e-3 * (1 + 1e-9));
        ASSERT_EQ((i[k] > 0) - (i[k] < 0), (current1 > 0) - (current1 < 0));
      }
    }
  }
}

// Chosen again from the menu, the experiment keeps ammeter n°1's last value until a direction is
// chosen; the channel shows that value too.
TEST(CurrentWave, FourQuadrantMeanFollowsAStaleAmmeter) {
  RecordedBench rb;
  Reach(rb.bench, FourQuadrants(M::kMachine2, D::kClockwise, 200));
  rb.bench.ChooseExperiment(X::kFourQuadrants);
  rb.bench.ChooseDrivingMachine(M::kMachine1);
  ASSERT_EQ(rb.readings.Last(inAmmeter1), "-0,40");
  const TCurrentWave current = ComputeCurrentWave(rb.bench);
  EXPECT_EQ(current.i, std::vector<double>(kCurrentTracePoints, -0.4));
  EXPECT_EQ(current.i2, std::vector<double>(kCurrentTracePoints, 0.0));  // nothing switches
}

TEST(CurrentWave, FlatZeroUntilTheMotorIsWiredAndEverythingChosen) {
  const Scene scenes[] = {
      OneQuadrant(W::kNotConnected, 100),
      OneQuadrant(W::kNotChosen, 100),
      {X::kTwoQuadrants, W::kWithInductance, C::kNotChosen, D::kClockwise, M::kNotChosen, 100},
      TwoQuadrants(C::kPlusAndMinusFedAtZero, D::kNotChosen, 100),
      FourQuadrants(M::kNotChosen, D::kClockwise, 100)};
  const std::vector<double> zero(kCurrentTracePoints, 0.0);
  for (const Scene& scene : scenes) {
    TBench b;
    Reach(b, scene);
    const TCurrentWave current = ComputeCurrentWave(b);
    EXPECT_EQ(current.i, zero);
    EXPECT_EQ(current.i2, scene.experiment == X::kFourQuadrants ? zero : std::vector<double>());
  }
  EXPECT_EQ(ComputeCurrentWave(TBench()).i, zero);
}

// Delta i = alpha (1 - alpha) E T / L: within 4 % of the set alpha from 25 % to 75 % (the drawn
// pulse is one sample longer), exactly with the alpha the Mesures window reads; ten times less
// through the smoothing inductor, about the same mean.
TEST(CurrentWave, RippleFollowsTheDutyCycleAndTheInductance) {
  for (int percent = 25; percent <= 75; ++percent) {
    SCOPED_TRACE(percent);
    RecordedBench rb;
    TBench smoothed;
    Reach(rb.bench, OneQuadrant(W::kWithoutInductance, 2 * percent));
    Reach(smoothed, OneQuadrant(W::kWithInductance, 2 * percent));
    const std::vector<double> i = ComputeCurrentWave(rb.bench).i;
    const double scale = 11.2 * 5e-3 / 10e-3;  // E T / L
    const double alpha = percent / 100.0;
    EXPECT_NEAR(Ripple(i) / (alpha * (1 - alpha) * scale), 1, 0.04);
    std::vector<double> volts;
    for (const auto& point : rb.series1.points)
      volts.push_back(point.second);
    const std::optional<double> measured = Measure(rb, volts).dutyCycle;
    ASSERT_TRUE(measured);
    EXPECT_NEAR(Ripple(i), *measured * (1 - *measured) * scale, 1e-9);
    const std::vector<double> iSmoothed = ComputeCurrentWave(smoothed).i;
    EXPECT_NEAR(Ripple(i), 10 * Ripple(iSmoothed), 1e-12);
    EXPECT_NEAR(Mean(i), Mean(iSmoothed), 1e-12);
  }
  EXPECT_EQ(SmoothingInductance(X::kFourQuadrants, W::kWithInductance), 10e-3);
}

TEST(SwitchingSigns, SpikesOfAPlusOrMinusChopperDoNotSwitch) {
  const std::array<double, kCurrentPeriodSamples> drawn{10.4, -20, 30.4, -10.4};  // then 0 V
  const struct {
    C type;
    D direction;
    std::array<int, 4> signs;
  } rows[] = {
      {C::kPlusOrMinus, D::kClockwise, {1, 0, 1, 0}},
      {C::kPlusOrMinus, D::kAnticlockwise, {0, -1, 0, -1}},
      {C::kPlusAndMinusFedAtZero, D::kClockwise, {1, -1, 1, -1}},
      {C::kPlusAndMinusOffAtZero, D::kAnticlockwise, {1, -1, 1, -1}},
  };
  for (const auto& row : rows) {
    const TSwitchingSigns signs = SwitchingSigns(drawn, row.type, row.direction);
    EXPECT_TRUE(std::equal(row.signs.begin(), row.signs.end(), signs.begin()));
    EXPECT_EQ(std::count(signs.begin() + 4, signs.end(), 0), 96);
  }
}

}  // namespace
