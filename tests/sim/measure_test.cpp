#include "sim/measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

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
  EXPECT_NEAR(m.periodMs.value_or(0), 5, 1e-9);
  EXPECT_NEAR(m.frequencyHz.value_or(0), 200, 1e-6);
  EXPECT_EQ(m.samplesUsed, 500);
  EXPECT_EQ(m.periodsUsed, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Waves, WaveMeasures,
    testing::Values(
        // 30 samples at 24 V, 70 at 0 V.
        WaveRow{[](int i) { return i % kPeriod < 30 ? 24.0 : 0.0; }, 7.2, std::sqrt(0.3) * 24, 0,
                24, 0.3},
        // The same with a 32 V overshoot at switch-on and a -16 V spike at switch-off: per period
        // the sum is 32 + 29*24 - 16 = 712, the squares' 1024 + 29*576 + 256 = 17984.
        WaveRow{[](int i) {
                  const int phase = i % kPeriod;
                  return phase == 0 ? 32.0 : phase < 30 ? 24.0 : phase == 30 ? -16.0 : 0.0;
                },
                7.12, std::sqrt(179.84), -16, 32, 0.3},
        WaveRow{[](int) { return 0.0; }, 0, 0, 0, 0, std::nullopt}));

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

  // 2, NaN, 4, inf, 3: the finite values alone; 3 sits on the mid level, not above it.
  const double holed[] = {2, kNaN, 4, std::numeric_limits<double>::infinity(), 3};
  const TTraceMeasures holes = Trace(5, [&](int i) { return holed[i]; }).Measure(0, 1, 5);
  EXPECT_EQ(holes.mean, 3);
  EXPECT_DOUBLE_EQ(holes.rms, std::sqrt(29.0 / 3));
  EXPECT_DOUBLE_EQ(holes.dutyCycle.value_or(-1), 1.0 / 3);
  EXPECT_EQ(holes.samplesUsed, 3);
  EXPECT_EQ(holes.skippedSamples, 2);
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
