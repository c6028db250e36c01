// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis/axis_labels.h"

#include "chart/axis/axis_ticks.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "chart/chart.h"
#include "tests/sim/c_locale.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

TEST(NextNiceStep, WalksOneTwoFiveInEveryDecade) {
  std::vector<double> steps;
  steps.reserve(7);
  double step = 1;
  for (int i = 0; i < 7; ++i)
    steps.push_back(step = NextNiceStep(step));
  const std::vector<double> expected = {2, 5, 10, 20, 50, 100, 200};
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_DOUBLE_EQ(steps[i], expected[i]);

  // From the smallest step upward every call moves on, despite the rounding of 1e-12 × 10^k.
  step = 1e-12;
  for (int i = 0; i < 40; ++i) {
    const double next = NextNiceStep(step);
    ASSERT_GT(next, step) << "stuck at " << step;
    step = next;
  }
  EXPECT_NEAR(NextNiceStep(1e-12), 2e-12, 1e-24);
  EXPECT_NEAR(NextNiceStep(2e-12), 5e-12, 1e-24);
  EXPECT_NEAR(NextNiceStep(5e-12), 1e-11, 1e-23);
  EXPECT_DOUBLE_EQ(NextNiceStep(0.3), 0.5);
  EXPECT_DOUBLE_EQ(NextNiceStep(7), 10);
}

TEST(ChooseLabelStep, FindsTheSmallestStepThatFits) {
  // Left axis -25 .. 25, 200 pixels, labels 13 high: 14 fit, steps 1 and 2 give too many.
  EXPECT_EQ(MaxLabelCount(200, 13, 10), 14);
  EXPECT_DOUBLE_EQ(ChooseLabelStep(50, 0, 10, 14), 5);
  // Bottom axis 0 .. 25, 340 pixels, label 12 wide: 26 fit, and step 1 gives 25.
  EXPECT_EQ(MaxLabelCount(340, 12, 10), 26);
  EXPECT_DOUBLE_EQ(ChooseLabelStep(25, 0, 10, 26), 1);
  // An increment is where the search starts.
  EXPECT_DOUBLE_EQ(ChooseLabelStep(25, 3, 10, 26), 3);
  EXPECT_DOUBLE_EQ(ChooseLabelStep(25, 3, 10, 4), 10);
  // No separation: the starting step is kept whatever the count.
  EXPECT_DOUBLE_EQ(ChooseLabelStep(1000, 0, 0, 3), 1);
  EXPECT_EQ(MaxLabelCount(200, 13, 0), 15);
  // Small spans start at 1e-12.
  EXPECT_NEAR(ChooseLabelStep(0.5, 0, 10, 5), 0.1, 1e-15);
  // Too short for one label.
  EXPECT_EQ(ChooseLabelStep(50, 0, 10, 0), 1e-12);
  EXPECT_EQ(MaxLabelCount(200, 0, 10), 1);
}

TEST(ChooseLabelStep, EndsForSpansWithoutAStep) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ChooseLabelStep(inf, 0, 10, 10), 1e-12);
  EXPECT_EQ(ChooseLabelStep(nan, 0, 10, 10), 1e-12);
  EXPECT_GT(ChooseLabelStep(1e308, 0, 10, 10), 1e306);
  EXPECT_TRUE(LabelValues(0, inf, 1, true).empty());
  EXPECT_TRUE(LabelValues(nan, 1, 1, true).empty());
  EXPECT_TRUE(LabelValues(0, 1, nan, true).empty());
}

TEST(LabelValues, WalkFromTheTopDown) {
  EXPECT_EQ(LabelValues(0, 25, 5, true), (std::vector<double>{25, 20, 15, 10, 5, 0}));
  // The lower limit lies just above a negative minimum: no label at -25.
  const std::vector<double> volts = LabelValues(-25, 25, 5, true);
  ASSERT_EQ(volts.size(), 10u);
  EXPECT_EQ(volts.front(), 25);
  EXPECT_EQ(volts.back(), -20);
  // RoundFirstLabel starts at a multiple of the step.
  const std::vector<double> rounded = LabelValues(0.3, 1.7, 0.5, true);
  ASSERT_EQ(rounded.size(), 3u);
  EXPECT_DOUBLE_EQ(rounded[0], 1.5);
  EXPECT_DOUBLE_EQ(rounded[2], 0.5);
  const std::vector<double> raw = LabelValues(0.3, 1.7, 0.5, false);
  ASSERT_EQ(raw.size(), 3u);
  EXPECT_DOUBLE_EQ(raw[0], 1.7);
  // 10000 labels or more: none.
  EXPECT_TRUE(LabelValues(0, 10000, 1, true).empty());
  EXPECT_EQ(LabelValues(0, 9999, 1, true).size(), 10000u);
  // A range of one value has one label.
  EXPECT_EQ(LabelValues(3, 3, 1, true), std::vector<double>{3});
  EXPECT_TRUE(LabelValues(5, 3, 1, true).empty());
  // Far from zero the multiple of the step is beyond the integers and the step is below one
  // unit in the last place: the walk starts at the range, not at zero 1e20 away (below zero
  // the lower limit's tolerance then leaves no label at all).
  EXPECT_TRUE(LabelValues(-1e20 - 16384, -1e20, 2, true).empty());
  EXPECT_EQ(LabelValues(1e20, 1e20 + 16384, 2, true), std::vector<double>{1e20 + 16384});
}

// The lower end's tolerance of rounding grows with the values; far from zero it stops half a
// step below the range, not thousands of labels below it.
TEST(LabelValues, FarFromZeroTheWalkStaysWithinHalfAStepOfTheRange) {
  // 24 wide at 5.5e16, where doubles lie 8 apart: each step of 10 moves by 8 or 16.
  const double low = 54896431913402400.0, high = low + 24;
  const std::vector<double> far = LabelValues(low, high, 10, true);
  ASSERT_FALSE(far.empty());
  EXPECT_LE(far.size(), 4u);
  for (double v : far) {
    EXPECT_GE(v, low - 5);
    EXPECT_LE(v, high);
  }
  // Near zero a label a rounding error below the range is still kept: 0.3 − 0.1 − 0.1 lies
  // just under 0.1.
  EXPECT_EQ(LabelValues(0.1, 0.3, 0.1, false).size(), 3u);
}

TEST(MinorTickPositions, DivideEachLabelIntervalAndContinueBeyond) {
  // Labels 40 pixels apart, in drawing order (right to left): three minor ticks 10, 20 and
  // 30 pixels from each label tick, and the first spacing continued beyond both outer labels;
  // only positions strictly inside (0, 200) are kept, so 0 and -10 go.
  EXPECT_EQ(MinorTickPositions({100, 60, 20}, 3, 0, 200),
            (std::vector<int>{110, 10, 120, 130, 70, 80, 90, 30, 40, 50}));
  EXPECT_TRUE(MinorTickPositions({}, 3, 0, 200).empty());
  // A single label has no spacing to continue or divide.
  EXPECT_TRUE(MinorTickPositions({50}, 3, 0, 200).empty());
  // Uneven division rounds each offset, ties to even: 10 / 4 = 2.5 → 2, 5, 7.5 → 8.
  EXPECT_EQ(MinorTickPositions({10, 0}, 3, -100, 100),
            (std::vector<int>{12, -2, 15, -5, 18, -8, 2, 5, 8}));
}

TEST(FormatAxisValue, GroupsThousandsAndDropsTrailingZerosUnderEveryCLocale) {
  const QString comma = QStringLiteral(","), space = QStringLiteral("\u202F");
  const QString point = QStringLiteral("."), english = QStringLiteral(",");
  const struct {
    double value;
    QString decimal, thousands;
    const char* expected;
  } rows[] = {
      {-25, comma, space, "-25"},
      {25, comma, space, "25"},
      {2.5, comma, space, "2,5"},
      {2.5, point, english, "2.5"},
      {1234567.125, point, english, "1,234,567.125"},
      {0.00049, point, english, "0"},
      {-0.0001, point, english, "0"},  // no sign on a label of zeros
      {0, comma, space, "0"},
      {-0.0, comma, space, "0"},
      {0.0005, comma, space, "0,001"},  // above the half in binary
      {-0.0005, comma, space, "-0,001"},
      {0.0625, comma, space, "0,062"},  // an exact half goes to even
      {0.1 + 0.2, point, english, "0.3"},
      {1000, comma, space, "1\u202F000"},
      {999.9995, comma, space, "1\u202F000"},
      {999.9996, point, english, "1,000"},
      {1e6, comma, space, "1\u202F000\u202F000"},
      {-12345678, comma, space, "-12\u202F345\u202F678"},
      {1e21, point, english, "1,000,000,000,000,000,000,000"},
      {5e-324, comma, space, "0"},
      {std::nan(""), comma, space, "NAN"},
      {std::numeric_limits<double>::infinity(), comma, space, "INF"},
      {-std::numeric_limits<double>::infinity(), comma, space, "-INF"},
  };
  for (const char* name : kCLocales) {
    const TCLocale locale(name);
    ASSERT_TRUE(locale.Ok()) << name;
    for (const auto& r : rows) {
      EXPECT_EQ(FormatAxisValue(r.value, r.decimal, r.thousands).toStdString(), r.expected)
          << r.value << " under " << name;
    }
    // The largest double: 309 digits in 103 groups.
    const QString largest = FormatAxisValue(DBL_MAX, comma, space);
    EXPECT_TRUE(largest.startsWith(QStringLiteral("179\u202F769\u202F313\u202F486\u202F231")));
    EXPECT_TRUE(largest.endsWith(QStringLiteral("124\u202F858\u202F368")));
    EXPECT_EQ(largest.size(), 309 + 102);
  }
}

// The labels the empty oscilloscope writes, in the order its paint asks for them.
std::string EmptyScreenLabels(QSize size, bool sorted = false) {
  OscilloscopeChart scope(size.width(), size.height());
  QStringList labels;
  scope.chart.OnGetAxisLabel = [&](TChartAxis* axis, double, QString& text) {
    labels << (axis == &scope.chart.LeftAxis() ? QStringLiteral("V ") : QStringLiteral("ms ")) +
                  text;
  };
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  labels.removeDuplicates();
  if (sorted) labels.sort();
  return labels.join(u'|').toStdString();
}

TEST(AxisLabels, TheEmptyScreensWriteTheSameLabelsUnderEveryCLocale) {
  // Whole numbers only: every millisecond across; 5 V apart up the small screen, 1 V the large.
  for (const auto& [size, voltStep] : {std::pair{QSize(389, 233), 5}, {QSize(1520, 760), 1}}) {
    QStringList expected;
    for (int ms = 0; ms <= 25; ++ms)
      expected << QStringLiteral("ms %1").arg(ms);
    for (int volts = -25; volts <= 25; volts += voltStep)
      expected << QStringLiteral("V %1").arg(volts);
    expected.sort();
    std::string reference;
    {
      const TCLocale locale("C");
      reference = EmptyScreenLabels(size);
      EXPECT_EQ(EmptyScreenLabels(size, true), expected.join(u'|').toStdString());
    }
    for (const char* name : kCLocales) {
      const TCLocale locale(name);
      ASSERT_TRUE(locale.Ok()) << name;
      EXPECT_EQ(EmptyScreenLabels(size), reference) << name;
    }
  }
}

// Ticks as data: the labels, tick marks and minor ticks of one layout, on numbers alone.
TEST(ComputeAxisTicks, LabelsTicksAndMinorTicksOfALayout) {
  const TAxisMap left(-25, 25, 10, 210, false, false, false);  // 4 pixels a volt, 25 at the top
  const auto text = [](double v) { return QString::number(v); };
  TTickRules rules;
  rules.step = 10;
  rules.valueLabels = true;
  rules.minorCount = 1;
  TAxisTicks ticks = ComputeAxisTicks(left, rules, text);
  EXPECT_EQ(ticks.positions, (std::vector<int>{30, 70, 110, 150, 190}));  // 20, 10 ... -20
  ASSERT_EQ(ticks.labels.size(), 5u);
  EXPECT_EQ(ticks.labels[0].text, "20");
  EXPECT_EQ(ticks.labels[4].pixel, 190);
  EXPECT_EQ(ticks.minor, (std::vector<int>{50, 90, 130, 170}));  // never on the axis ends

  rules.step = 25;  // a label on the top end: kept unless labels must stay off the ends
  EXPECT_EQ(ComputeAxisTicks(left, rules, text).positions, (std::vector<int>{10, 110}));
  rules.labelsOnAxis = false;
  EXPECT_EQ(ComputeAxisTicks(left, rules, text).positions, (std::vector<int>{110}));

  rules.labels = false;  // no labels: ticks only when they need not sit on labels
  ticks = ComputeAxisTicks(left, rules, text);
  EXPECT_TRUE(ticks.labels.empty());
  EXPECT_TRUE(ticks.positions.empty());
  rules.tickOnLabelsOnly = false;
  EXPECT_EQ(ComputeAxisTicks(left, rules, text).positions, (std::vector<int>{110}));

  rules.valueLabels = false;  // texts from the points, not walked here
  EXPECT_TRUE(ComputeAxisTicks(left, rules, text).positions.empty());
}

// However small the step, an axis keeps at most kMaxAxisMarks labels and ticks, the first in
// drawing order, and writes no text for the others.
TEST(ComputeAxisTicks, AtMostSoManyLabelsAndTicksPerAxis) {
  const TAxisMap bottom(0, 5000, 0, 400, true, false, false);
  TTickRules rules;
  rules.step = 1;
  rules.valueLabels = true;
  rules.tickOnLabelsOnly = false;
  int texts = 0;
  const TAxisTicks ticks = ComputeAxisTicks(bottom, rules, [&texts](double v) {
    ++texts;
    return QString::number(v);
  });
  ASSERT_EQ(ticks.labels.size(), static_cast<std::size_t>(kMaxAxisMarks));
  EXPECT_EQ(ticks.positions.size(), static_cast<std::size_t>(kMaxAxisMarks));
  EXPECT_EQ(texts, kMaxAxisMarks);
  EXPECT_EQ(ticks.labels.front().text, "5000");
  EXPECT_EQ(ticks.labels.back().text, QString::number(5001 - kMaxAxisMarks));
}

TEST(ComputeAxisTicks, LogarithmicMinorTicksStepUpFromEachTick) {
  const TAxisMap bottom(1, 100, 0, 200, true, false, true);
  TTickRules rules;
  rules.step = 50;
  rules.valueLabels = true;
  rules.minorCount = 1;
  const TAxisTicks ticks = ComputeAxisTicks(bottom, rules, [](double) { return QString(); });
  EXPECT_EQ(ticks.positions, (std::vector<int>{200, 170}));  // 100 and 50
  // From 100 up by (10 × 100 − 100) / 2: beyond the range, so none.
  EXPECT_TRUE(ticks.minor.empty());
}

}  // namespace
