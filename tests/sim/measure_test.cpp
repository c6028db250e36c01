// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/sim/bench_recorder.h"
#include "tests/sim/c_locale.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kPeriod = 100;  // TBench::kPeriodSamples

// A bench-like trace: 0.05 ms spacing, `count` samples, value(i) for sample i.
struct Trace {
  std::vector<double> t, u;
  template <class F>
  Trace(int count, F value) {
    for (int i = 0; i < count; ++i) {
      t.push_back(i * 0.05);
      u.push_back(value(i));
    }
  }
  TTraceMeasures Measure(double tMin, double tMax, int perPeriod = kPeriod) const {
    return MeasureTrace(t.data(), u.data(), static_cast<int>(t.size()), tMin, tMax, perPeriod);
  }
};

struct WaveRow {
  double (*wave)(int);
  double mean, rms, min, max;
  std::optional<double> alpha;
  bool periodic;
};

class WaveMeasures : public testing::TestWithParam<WaveRow> {};

TEST_P(WaveMeasures, OverFivePeriods) {
  const WaveRow& row = GetParam();
  const TTraceMeasures m = Trace(500, row.wave).Measure(0, 24.95);
  EXPECT_NEAR(m.mean, row.mean, 1e-9);
  EXPECT_NEAR(m.rms, row.rms, 1e-9);
  EXPECT_EQ(m.min, row.min);
  EXPECT_EQ(m.max, row.max);
  EXPECT_EQ(m.peakToPeak, row.max - row.min);
  EXPECT_EQ(m.dutyCycle.has_value(), row.alpha.has_value());
  EXPECT_NEAR(m.dutyCycle.value_or(-1), row.alpha.value_or(-1), 1e-12);
  EXPECT_NEAR(m.periodMs.value_or(0), row.periodic ? 5 : 0, 1e-9);
  EXPECT_NEAR(m.frequencyHz.value_or(0), row.periodic ? 200 : 0, 1e-6);
  EXPECT_EQ(m.samplesUsed, 500);
  EXPECT_EQ(m.periodsUsed, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Waves, WaveMeasures,
    testing::Values(
        // 30 samples at 24 V, 70 at 0 V.
        WaveRow{[](int i) { return i % kPeriod < 30 ? 24.0 : 0.0; }, 7.2, std::sqrt(0.3) * 24, 0,
                24, 0.3, true},
        // The same with a 32 V overshoot at switch-on and a -16 V spike at switch-off: per period
        // the sum is 32 + 29*24 - 16 = 712, the squares' 1024 + 29*576 + 256 = 17984.
        WaveRow{[](int i) {
                  const int phase = i % kPeriod;
                  return phase == 0 ? 32.0 : phase < 30 ? 24.0 : phase == 30 ? -16.0 : 0.0;
                },
                7.12, std::sqrt(179.84), -16, 32, 0.3, true},
        WaveRow{[](int) { return 0.0; }, 0, 0, 0, 0, std::nullopt, false}));

// On a ramp (value = sample index) the measured samples show in min and max.
struct WindowRow {
  double tMin, tMax;
  double first, last;
  int periods;
};

class MeasuredWindow : public testing::TestWithParam<WindowRow> {};

TEST_P(MeasuredWindow, WholePeriodsOfWhatIsShown) {
  const WindowRow& row = GetParam();
  const TTraceMeasures m = Trace(500, [](int i) { return i; }).Measure(row.tMin, row.tMax);
  EXPECT_EQ(m.min, row.first);
  EXPECT_EQ(m.max, row.last);
  EXPECT_DOUBLE_EQ(m.mean, (row.first + row.last) / 2);
  EXPECT_EQ(m.samplesUsed, row.last - row.first + 1);
  EXPECT_EQ(m.periodsUsed, row.periods);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, MeasuredWindow,
    testing::Values(WindowRow{0, 24.95, 0, 499, 5},
                    WindowRow{0.975, 13.475, 20, 219, 2},   // 2.5 periods shown
                    WindowRow{13.475, 0.975, 20, 219, 2},   // reversed
                    WindowRow{kNaN, 12.475, 0, 199, 2},     // open on the left
                    WindowRow{9.975, 12.025, 200, 299, 1},  // zoomed in: one period
                    WindowRow{23.975, 30, 400, 499, 1},     // zoomed at the end: moved back
                    WindowRow{30, 40, 400, 499, 1},         // right of the trace
                    WindowRow{-10, -5, 0, 99, 1}));         // left of the trace

TEST(MeasureTrace, DegenerateTraces) {
  EXPECT_TRUE(MeasureTrace(nullptr, nullptr, 0, 0, 10, kPeriod).Empty());
  EXPECT_TRUE(Trace(500, [](int i) { return i; }).Measure(0, 24.95, 0).Empty());
  EXPECT_TRUE(Trace(3, [](int) { return kNaN; }).Measure(0, 1).Empty());

  const TTraceMeasures one = Trace(1, [](int) { return 5.0; }).Measure(0, 1);
  EXPECT_EQ(one.mean, 5);
  EXPECT_EQ(one.rms, 5);
  EXPECT_EQ(one.samplesUsed, 1);
  EXPECT_FALSE(one.dutyCycle || one.periodMs || one.frequencyHz);

  const TTraceMeasures shortTrace = Trace(40, [](int i) { return i; }).Measure(0.5, 0.6);
  EXPECT_EQ(shortTrace.samplesUsed, 40);
  EXPECT_EQ(shortTrace.periodsUsed, 0);

  // 2, NaN, 4, inf, 3: the finite values alone, and no two levels in three values.
  const double holed[] = {2, kNaN, 4, std::numeric_limits<double>::infinity(), 3};
  const TTraceMeasures holes = Trace(5, [&](int i) { return holed[i]; }).Measure(0, 1, 5);
  EXPECT_EQ(holes.mean, 3);
  EXPECT_DOUBLE_EQ(holes.rms, std::sqrt(29.0 / 3));
  EXPECT_FALSE(holes.dutyCycle || holes.top || holes.base);
  EXPECT_EQ(holes.samplesUsed, 3);
  EXPECT_EQ(holes.skippedSamples, 2);
}

// --- State levels, period and duty cycle of the bench's own waves -----------------------------

constexpr auto kCw = TDirection::kClockwise;
constexpr auto kAcw = TDirection::kAnticlockwise;
constexpr auto kOnOff = TChopperType::kPlusOrMinus;              // "+ ou -"
constexpr auto kBoth = TChopperType::kPlusAndMinusFedAtZero;     // "+ et -"
constexpr auto kBothOff = TChopperType::kPlusAndMinusOffAtZero;  // "+ et -", zero not fed
constexpr auto kPlain = TWiring::kWithoutInductance;
constexpr auto kOpen = TWiring::kNotConnected;
constexpr auto kSelf = TWiring::kWithInductance;
constexpr auto k1Q = TExperiment::kOneQuadrant;
constexpr auto k2Q = TExperiment::kTwoQuadrants;
constexpr auto k4Q = TExperiment::kFourQuadrants;
constexpr std::optional<double> kNo;
constexpr auto kPos = TActiveLevel::kPositive;  // alpha at +E
constexpr auto kNeg = TActiveLevel::kNegative;  // at -E
constexpr auto kNone = TActiveLevel::kNone;

// One setting and its measures; a row with alpha has a period of 5 ms, one without has none.
struct PulseRow {
  TExperiment experiment;
  int percent;
  TDirection direction;
  TChopperType chopper;
  TWiring wiring;
  std::optional<double> alpha;
  TActiveLevel level;
  std::optional<double> top, base;
};

std::ostream& operator<<(std::ostream& out, const PulseRow& r) {
  return out << int(r.experiment) << " at " << r.percent << " %, " << int(r.direction) << "/"
             << int(r.chopper) << "/" << int(r.wiring);
}

// The red trace after the experiment's menu entry and buttons; with noise, machine n°2 drives.
std::vector<std::pair<double, double>> RunBench(const PulseRow& r, TRandomSource* noise = nullptr) {
  RecordedBench b;
  if (noise) b.bench.SetRandomSource(noise);
  b.bench.ChooseExperiment(r.experiment);
  if (r.experiment == k4Q) {
    b.bench.ChooseDrivingMachine(noise ? TDrivingMachine::kMachine2 : TDrivingMachine::kMachine1);
    b.bench.ChooseMachineDirection(r.direction);
    b.bench.SetMachineSpeedSetting(2 * r.percent);
    b.bench.RefreshFourQuadrant();
  } else {
    b.steps.SetConnectionMode(r.wiring);
    b.steps.SetRotationDirection(r.direction);
    b.steps.SetChopperType(r.chopper);
    b.bench.SetSpeedSetting(2 * r.percent);
    b.steps.RefreshBench();
  }
  return b.series1.points;
}

TTraceMeasures MeasurePoints(const std::vector<std::pair<double, double>>& points, double tMin,
                             double tMax) {
  std::vector<double> t, u;
  for (const auto& [x, y] : points) {
    t.push_back(x);
    u.push_back(y);
  }
  return MeasureTrace(t.data(), u.data(), static_cast<int>(t.size()), tMin, tMax, kPeriod);
}

class BenchPulses : public testing::TestWithParam<PulseRow> {};

TEST_P(BenchPulses, LevelsPeriodAndDutyCycle) {
  const PulseRow& row = GetParam();
  const TTraceMeasures m = MeasurePoints(RunBench(row), 0, 24.95);
  ASSERT_EQ(m.samplesUsed, 500);
  EXPECT_EQ(m.top.has_value(), row.top.has_value());
  EXPECT_NEAR(m.top.value_or(-99), row.top.value_or(-99), 1e-9);
  EXPECT_EQ(m.base.has_value(), row.base.has_value());
  EXPECT_NEAR(m.base.value_or(-99), row.base.value_or(-99), 1e-9);
  EXPECT_EQ(m.dutyCycle.has_value(), row.alpha.has_value());
  EXPECT_NEAR(m.dutyCycle.value_or(-1), row.alpha.value_or(-1), 1e-9);
  EXPECT_EQ(m.activeLevel, row.level);
  EXPECT_NEAR(m.periodMs.value_or(0), row.alpha ? 5 : 0, 1e-9);
  EXPECT_NEAR(m.frequencyHz.value_or(0), row.alpha ? 200 : 0, 1e-6);
}

// "+ ou -": on for p + 1 samples of 100 (with the inductance, a spike the other way first).
// "+ et -": +E for 50 ± h samples (h = p / 2 rounded to even), then -E; with the inductance each
// switching overshoots, so near 95 % the short level is only spike and gets no level.
INSTANTIATE_TEST_SUITE_P(
    Waves, BenchPulses,
    testing::Values(
        // One quadrant, E = 11.2 V: flat at 0 and 100 %.
        PulseRow{k1Q, 0, kCw, kOnOff, kOpen, kNo, kNone, kNo, kNo},
        PulseRow{k1Q, 5, kCw, kOnOff, kOpen, 0.06, kPos, 11.2, 0},
        PulseRow{k1Q, 50, kCw, kOnOff, kPlain, 0.51, kPos, 11.2, 0},
        PulseRow{k1Q, 95, kCw, kOnOff, kPlain, 0.96, kPos, 11.2, 0},
        PulseRow{k1Q, 100, kCw, kOnOff, kPlain, kNo, kNone, kNo, kNo},
        PulseRow{k1Q, 0, kCw, kOnOff, kSelf, kNo, kNone, kNo, kNo},
        PulseRow{k1Q, 5, kCw, kOnOff, kSelf, 0.06, kPos, 11.2, 0},
        PulseRow{k1Q, 50, kCw, kOnOff, kSelf, 0.51, kPos, 11.2, 0},
        PulseRow{k1Q, 95, kCw, kOnOff, kSelf, 0.96, kPos, 11.2, kNo},
        // Two quadrants, E = 10.4 V, "+ ou -" anticlockwise: the active level is -E.
        PulseRow{k2Q, 25, kAcw, kOnOff, kPlain, 0.26, kNeg, 0, -10.4},
        PulseRow{k2Q, 75, kAcw, kOnOff, kSelf, 0.76, kNeg, 0, -10.4},
        PulseRow{k2Q, 95, kAcw, kOnOff, kSelf, 0.96, kNeg, kNo, -10.4},
        PulseRow{k2Q, 100, kAcw, kOnOff, kSelf, kNo, kNone, kNo, kNo},
        // "+ et -": alpha at +E either way.
        PulseRow{k2Q, 0, kCw, kBoth, kPlain, 0.50, kPos, 10.4, -10.4},
        PulseRow{k2Q, 25, kCw, kBoth, kPlain, 0.62, kPos, 10.4, -10.4},
        PulseRow{k2Q, 95, kCw, kBoth, kPlain, 0.98, kPos, 10.4, -10.4},
        PulseRow{k2Q, 100, kCw, kBoth, kPlain, kNo, kNone, kNo, kNo},
        PulseRow{k2Q, 50, kCw, kBoth, kSelf, 0.75, kPos, 10.4, -10.4},
        PulseRow{k2Q, 95, kCw, kBoth, kSelf, 0.98, kPos, 10.4, kNo},
        PulseRow{k2Q, 5, kAcw, kBoth, kPlain, 0.48, kPos, 10.4, -10.4},
        PulseRow{k2Q, 50, kAcw, kBoth, kPlain, 0.25, kPos, 10.4, -10.4},
        PulseRow{k2Q, 95, kAcw, kBoth, kPlain, 0.02, kPos, 10.4, -10.4},
        PulseRow{k2Q, 100, kAcw, kBoth, kPlain, kNo, kNone, kNo, kNo},
        PulseRow{k2Q, 75, kAcw, kBoth, kSelf, 0.12, kPos, 10.4, -10.4},
        // A 32 V sample then +E once (95 %) or not at all (97 %): +E pulsed, never settled.
        PulseRow{k2Q, 95, kAcw, kBoth, kSelf, 0.02, kPos, kNo, -10.4},
        PulseRow{k2Q, 97, kAcw, kBoth, kSelf, 0.01, kPos, kNo, -10.4},
        PulseRow{k2Q, 0, kCw, kBothOff, kSelf, kNo, kNone, kNo, kNo},
        PulseRow{k2Q, 50, kCw, kBothOff, kSelf, 0.75, kPos, 10.4, -10.4},
        // Four quadrants, machine n°1 as motor.
        PulseRow{k4Q, 50, kCw, kOnOff, kPlain, 0.51, kPos, 10.4, 0},
        PulseRow{k4Q, 95, kAcw, kOnOff, kPlain, 0.96, kNeg, 0, -10.4}));

// Machine n°1 driven as a generator: its DC voltage with a random ripple of about 2 %.
TEST(BenchPulses, GeneratorNoiseIsNoPulseWave) {
  for (const unsigned seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 engine(seed);
    std::vector<int> draws(150);
    for (int& d : draws)
      d = std::uniform_int_distribution<int>(0, 199)(engine);
    ScriptedRandom noise(draws);
    const PulseRow row{k4Q, 100, seed % 2 ? kAcw : kCw, kOnOff, kPlain, kNo, kNone, kNo, kNo};
    const TTraceMeasures m = MeasurePoints(RunBench(row, &noise), 0, 24.95);
    ASSERT_GT(m.peakToPeak, 0.5) << seed;
    EXPECT_FALSE(m.top || m.base || m.periodMs || m.frequencyHz || m.dutyCycle) << seed;
    EXPECT_EQ(m.activeLevel, TActiveLevel::kNone);
  }
}

// The 50 % wave with spikes (edges at 2.525 and 4.975 ms of each period) through different
// windows: edges are timed on what is shown, levels on whole periods.
TEST(BenchPulses, WhatIsShownIsWhatIsTimed) {
  const auto points = RunBench({k1Q, 50, kCw, kOnOff, kSelf, kNo, kNone, kNo, kNo});
  for (const auto& [tMin, tMax, periodic] : {std::tuple{0.0, 4.0, false},   // under a period
                                             std::tuple{0.0, 7.5, false},   // 1.5 periods
                                             std::tuple{0.0, 7.55, true},   // two falling edges
                                             std::tuple{2.45, 2.6, false},  // one edge
                                             std::tuple{12.49, 24.95, true}}) {
    const TTraceMeasures m = MeasurePoints(points, tMin, tMax);
    SCOPED_TRACE(std::to_string(tMin) + " .. " + std::to_string(tMax));
    EXPECT_NEAR(m.top.value_or(0), 11.2, 1e-9);
    EXPECT_NEAR(m.base.value_or(-1), 0, 1e-9);
    EXPECT_NEAR(m.periodMs.value_or(0), periodic ? 5 : 0, 1e-9);
    EXPECT_NEAR(m.dutyCycle.value_or(0), periodic ? 0.51 : 0, 1e-9);
  }
}

// 30 samples at 24 V, 70 at 0 V, the first two at 0 V of each period lost: the falling edge
// lies halfway between samples 29 and 32, so 31 of 100 count at 24 V.
TEST(BenchPulses, NaNSamplesAreSteppedOver) {
  const TTraceMeasures m = Trace(500, [](int i) {
                             const int phase = i % kPeriod;
                             return phase == 30 || phase == 31 ? kNaN : phase < 30 ? 24.0 : 0.0;
                           }).Measure(0, 24.95);
  EXPECT_EQ(m.skippedSamples, 10);
  EXPECT_NEAR(m.periodMs.value_or(0), 5, 1e-9);
  EXPECT_NEAR(m.dutyCycle.value_or(0), 0.31, 1e-9);
  EXPECT_EQ(m.top, 24.0);
  EXPECT_EQ(m.base, 0.0);
}

TEST(CursorDifference, DeltasAndInverse) {
  struct Row {
    double tA, uA, tB, uB, dt, dU;
    std::optional<double> hz;
  };
  for (const Row& r : {Row{1, 2, 6, 26, 5, 24, 200}, Row{6, 26, 1, 2, -5, -24, 200},
                       Row{3, 1, 3, 4, 0, 3, std::nullopt}}) {
    const TCursorDelta d = CursorDifference(r.tA, r.uA, r.tB, r.uB);
    EXPECT_EQ(d.dtMs, r.dt);
    EXPECT_EQ(d.dU, r.dU);
    EXPECT_EQ(d.inverseHz, r.hz) << "dt " << r.dt;
  }
  EXPECT_FALSE(CursorDifference(kNaN, 1, 3, 4).inverseHz);
}

// A cursor's time on a sample reads the sample; between two, the line drawn between them.
TEST(ValueAtTime, OnTheDrawnLine) {
  const Trace trace(5, [](int i) { return i == 3 ? kNaN : 1.0 + i * i; });  // 1 2 5 NaN 17
  const auto at = [&](double time) {
    return ValueAtTime(trace.t.data(), trace.u.data(), static_cast<int>(trace.t.size()), time);
  };
  const std::pair<double, std::optional<double>> rows[] = {
      {0, 1.0},       {0.05, 2.0},           {0.1, 5.0},           {0.075, 3.5},
      {0.0125, 1.25}, {-0.01, std::nullopt}, {0.21, std::nullopt}, {0.125, std::nullopt},
      {0.2, 17.0},    {0.15, std::nullopt},  {kNaN, std::nullopt}};
  for (const auto& [time, value] : rows) {
    const std::optional<double> got = at(time);
    ASSERT_EQ(got.has_value(), value.has_value()) << time;
    if (value) {
      EXPECT_NEAR(*got, *value, 1e-12) << time;
    }
  }
  EXPECT_FALSE(ValueAtTime(nullptr, nullptr, 0, 0));
}

// 1/dt keeps the significant digits dt shows at two decimals in ms.
TEST(FormatInverseTime, AsManyDigitsAsTheTimeShows) {
  for (const auto& [dtMs, text] : {std::pair{0.5004, "2,0\u00A0kHz"},   // "0,50 ms"
                                   std::pair{-5.0, "200\u00A0Hz"},      // cursor B on the left
                                   std::pair{12.35, "80,97\u00A0Hz"},   // "12,35 ms"
                                   std::pair{0.03, "30\u00A0kHz"},      // 33,3 kHz to one digit
                                   std::pair{1.0004, "1,00\u00A0kHz"},  // 999,6 Hz to three
                                   std::pair{0.004, "\u2014"},          // "0,00 ms"
                                   std::pair{kNaN, "\u2014"}})
    EXPECT_EQ(FormatInverseTime(dtMs, ","), text) << dtMs;
}

TEST(FormatQuantity, FrenchTextUnderEveryCLocale) {
  for (const char* name : kCLocales) {
    const TCLocale locale(name);
    ASSERT_TRUE(locale.Ok()) << name;
    EXPECT_EQ(FormatQuantity(12.345, "V", 2, ","), "12,35\u00A0V");
    EXPECT_EQ(FormatQuantity(200.0, "Hz", 0, ","), "200\u00A0Hz");
    EXPECT_EQ(FormatQuantity(5.0, "ms", 2, ","), "5,00\u00A0ms");
    EXPECT_EQ(FormatQuantity(-0.004, "V", 2, ","), "0,00\u00A0V");
    EXPECT_EQ(FormatQuantity(-3.5, "V", 2, "."), "-3.50\u00A0V");
    EXPECT_EQ(FormatQuantity(0.3, "", 2, ","), "0,30");
    EXPECT_EQ(FormatQuantity(1234567.0, "Hz", 0, ","), "1,23457E+6\u00A0Hz");
    EXPECT_EQ(FormatQuantity(kNaN, "V", 2, ","), "\u2014");
    EXPECT_EQ(FormatQuantity(std::optional<double>{}, "%", 1, ","), "\u2014");
  }
}

}  // namespace
