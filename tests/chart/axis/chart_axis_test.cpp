// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "chart/chart.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

// The mapping of an axis laid out over [start, end] for [min, max].
TAxisMap Horizontal(double min, double max, int start, int end, bool inverted = false,
                    bool logarithmic = false) {
  return {min, max, start, end, true, inverted, logarithmic};
}
TAxisMap Vertical(double min, double max, int start, int end, bool inverted = false,
                  bool logarithmic = false) {
  return {min, max, start, end, false, inverted, logarithmic};
}

class AxisTest : public testing::Test {
 protected:
  TChart chart;
};

TEST(AxisMap, LinearMappingAtBothEnds) {
  const TAxisMap left = Vertical(-25, 25, 7, 217);
  EXPECT_EQ(left.ValueToPixel(-25), 217);  // larger values lie higher
  EXPECT_EQ(left.ValueToPixel(25), 7);
  EXPECT_EQ(left.ValueToPixel(0), 112);
  EXPECT_DOUBLE_EQ(left.PixelToValue(7), 25);
  EXPECT_DOUBLE_EQ(left.PixelToValue(217), -25);

  const TAxisMap bottom = Horizontal(0, 25, 40, 380);
  EXPECT_EQ(bottom.ValueToPixel(0), 40);
  EXPECT_EQ(bottom.ValueToPixel(25), 380);
  EXPECT_DOUBLE_EQ(bottom.PixelToValue(40), 0);
  EXPECT_DOUBLE_EQ(bottom.PixelToValue(380), 25);
  // Round half to even: 0.5 pixel offsets go to the even neighbour.
  const TAxisMap halves = Horizontal(0, 4, 0, 2);
  EXPECT_EQ(halves.ValueToPixel(1), 0);                     // t = 0.5
  EXPECT_EQ(halves.ValueToPixel(3), 2);                     // t = 1.5
  EXPECT_EQ(Horizontal(0, 4, 0, 10).ValueToPixel(-1), -2);  // t = -2.5
}

TEST(AxisMap, InvertedAxesMapTheOtherWay) {
  const TAxisMap bottom = Horizontal(0, 10, 100, 200, true);
  EXPECT_EQ(bottom.ValueToPixel(0), 200);
  EXPECT_EQ(bottom.ValueToPixel(10), 100);
  EXPECT_DOUBLE_EQ(bottom.PixelToValue(200), 0);
  const TAxisMap left = Vertical(0, 10, 100, 200, true);
  EXPECT_EQ(left.ValueToPixel(0), 100);
  EXPECT_EQ(left.ValueToPixel(10), 200);
  // Vertical axes count down from the top value, from the far end when inverted.
  EXPECT_DOUBLE_EQ(left.PixelToValue(100), 0);
  EXPECT_DOUBLE_EQ(left.PixelToValue(200), 10);
}

TEST(AxisMap, ValuesWithoutAPixelGoToTheCentre) {
  const TAxisMap left = Vertical(-25, 25, 0, 200);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(left.ValueToPixel(std::numeric_limits<double>::quiet_NaN()), 100);
  EXPECT_EQ(left.ValueToPixel(inf), 100);
  EXPECT_EQ(left.ValueToPixel(1e300), 100);
  EXPECT_EQ(Vertical(3, 3, 0, 200).ValueToPixel(3), 100);  // no span
  EXPECT_EQ(Vertical(-25, 25, 7, 7).PixelToValue(5), 0);   // no length
}

// Values that map to a pixel beyond the integer range land at its end, on every side and in
// both directions; anything up to ±1e308 maps without overflow.
TEST(AxisMap, FarValuesStopAtTheEndOfTheIntegerRange) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  EXPECT_EQ(Horizontal(0, 1, 100, 1100).ValueToPixel(2147483.6), kMax);
  EXPECT_EQ(Horizontal(0, 1, 100, 1100).ValueToPixel(-2147483.6), 100 - 2147483600);
  EXPECT_EQ(Vertical(0, 1, 100, 1100).ValueToPixel(-2147483.6), kMax);
  EXPECT_EQ(Vertical(0, 1, -1100, -100, true).ValueToPixel(-2147483.6), kMin);
  EXPECT_EQ(Horizontal(0, 1, kMax - 10, kMax).PixelCenter(), kMax - 5);
  for (bool horizontal : {false, true}) {
    for (bool logarithmic : {false, true}) {
      for (const auto& [min, max] : {std::pair{0.0, 1.0}, std::pair{1e-300, 1e300}}) {
        const TAxisMap map(min, max, 100, 1100, horizontal, !horizontal, logarithmic);
        for (double v : {1e308, -1e308, 3e9, -3e9, 1e-308, 2147483.6, -2147483.6})
          map.ValueToPixel(v);
      }
    }
  }
}

TEST(AxisMap, LogarithmicMapping) {
  const TAxisMap bottom = Horizontal(1, 100, 0, 200, false, true);
  EXPECT_EQ(bottom.ValueToPixel(1), 0);
  EXPECT_EQ(bottom.ValueToPixel(10), 100);
  EXPECT_EQ(bottom.ValueToPixel(100), 200);
  EXPECT_EQ(bottom.ValueToPixel(0), 0);  // no logarithm: the start end
  EXPECT_DOUBLE_EQ(bottom.PixelToValue(0), 1);
  EXPECT_DOUBLE_EQ(bottom.PixelToValue(200), 100);
  EXPECT_NEAR(bottom.PixelToValue(100), 10, 1e-9);
  const TAxisMap left = Vertical(1, 100, 0, 200, false, true);
  EXPECT_EQ(left.ValueToPixel(100), 0);
  EXPECT_EQ(left.ValueToPixel(-1), 200);
  EXPECT_NEAR(left.PixelToValue(100), 10, 1e-9);
  EXPECT_DOUBLE_EQ(left.PixelToValue(0), 100);
}

// The axis maps through the map of its last layout; Inverted and Logarithmic remap at once.
TEST_F(AxisTest, AxisMapsThroughItsLastLayout) {
  chart.resize(389, 233);
  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetAxisRange(0, 25);
  chart.PaintChart(nullptr, chart.ClientRect());
  const TAxisMap laidOut = bottom.Map();
  EXPECT_EQ(bottom.ValueToPixel(0), bottom.PixelStart());
  EXPECT_EQ(bottom.ValueToPixel(25), bottom.PixelEnd());
  bottom.SetAxisRange(0, 50);
  EXPECT_EQ(bottom.ValueToPixel(25), bottom.PixelEnd());
  bottom.SetInverted(true);
  EXPECT_EQ(bottom.ValueToPixel(25), bottom.PixelStart());
  EXPECT_EQ(bottom.RangeMax(), laidOut.RangeMax());
  chart.PaintChart(nullptr, chart.ClientRect());
  EXPECT_EQ(bottom.ValueToPixel(50), bottom.PixelStart());
}

TEST_F(AxisTest, SetAxisRangeOrdersAndKeepsAWidth) {
  TChartAxis& axis = chart.BottomAxis();
  axis.SetAxisRange(10, 5);
  EXPECT_EQ(axis.Minimum(), 5);
  EXPECT_EQ(axis.Maximum(), 10);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  axis.SetAxisRange(3, 3);
  EXPECT_EQ(axis.Minimum(), 3);
  EXPECT_EQ(axis.Maximum(), 3 + 1e-10);
}

TEST_F(AxisTest, SetterChecksRefuseAndKeepTheValue) {
  TChartAxis& axis = chart.LeftAxis();
  axis.SetAxisRange(-25, 25);
  const auto message = [](auto&& call) {
    try {
      call();
    } catch (const std::exception& error) {
      return std::string(error.what());
    }
    return std::string("<nothing raised>");
  };
  EXPECT_EQ(message([&] { axis.SetMinimum(30); }),
            "La valeur minimum de l'axe doit être <= Maximum");
  EXPECT_EQ(message([&] { axis.SetMaximum(-30); }),
            "La valeur maximum de l'axe doit être >= Minimum");
  EXPECT_EQ(message([&] { axis.SetIncrement(-1); }), "L'incrément de l'axe doit être >= 0");
  EXPECT_EQ(message([&] { axis.SetLabelsSeparation(-1); }),
            "Le pourcentage de séparation des libellés doit être >0");
  EXPECT_EQ(message([&] { axis.SetLabelsAngle(360); }),
            "L'angle Libellés d'axes doit être compris entre 0 et 359 degrés");
  EXPECT_EQ(message([&] { axis.Title.SetAngle(-1); }),
            "L'angle Titre de l'axe doit être compris entre 0 et 359 degrés");
  EXPECT_THROW(axis.SetMinimum(30), AxisException);
  EXPECT_THROW(axis.SetLabelsAngle(-5), ChartException);
  EXPECT_EQ(axis.Minimum(), -25);
  EXPECT_EQ(axis.Maximum(), 25);
  EXPECT_EQ(axis.LabelsAngle(), 0);
  EXPECT_EQ(axis.Title.Angle(), 90);  // the left axis title reads upward

  // While the form is read, the order check waits: 25 may come before -25.
  TChart loaded;
  loaded.BeginLoading();
  loaded.LeftAxis().SetMaximum(25);
  loaded.LeftAxis().SetMinimum(-25);
  loaded.LeftAxis().SetMinimum(40);
  loaded.EndLoading();
  EXPECT_EQ(loaded.LeftAxis().Minimum(), 40);
  EXPECT_THROW(loaded.LeftAxis().SetMaximum(30), AxisException);
}

TEST_F(AxisTest, AutomaticFlagsAreCoupled) {
  TChartAxis& axis = chart.BottomAxis();
  axis.SetAutomatic(false);
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  axis.SetAutomaticMinimum(true);  // the other end is still off
  EXPECT_FALSE(axis.Automatic());
  axis.SetAutomaticMaximum(true);
  EXPECT_TRUE(axis.Automatic());
  axis.SetAutomaticMaximum(false);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_TRUE(axis.AutomaticMinimum());

  TChart loaded;
  loaded.BeginLoading();
  loaded.BottomAxis().SetAutomatic(false);  // the form stores each flag itself
  EXPECT_TRUE(loaded.BottomAxis().AutomaticMinimum());
  loaded.EndLoading();
}

TEST_F(AxisTest, AutomaticRangeFollowsTheSeries) {
  TFastLineSeries a, b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  TChartAxis& bottom = chart.BottomAxis();
  bottom.AdjustRange();
  EXPECT_EQ(bottom.RangeMin(), 0);  // no points anywhere: 0 .. 0
  EXPECT_EQ(bottom.RangeMax(), 0);
  a.AppendPoint(2, 1);
  a.AppendPoint(5, -3);
  b.AppendPoint(-1, 10);
  bottom.AdjustRange();
  EXPECT_EQ(bottom.RangeMin(), -1);
  EXPECT_EQ(bottom.RangeMax(), 5);
  chart.LeftAxis().AdjustRange();
  EXPECT_EQ(chart.LeftAxis().RangeMin(), -3);
  EXPECT_EQ(chart.LeftAxis().RangeMax(), 10);
  // An inactive series does not count while an active one is on the axis.
  b.SetActive(false);
  bottom.AdjustRange();
  EXPECT_EQ(bottom.RangeMin(), 2);
  // A fixed axis keeps its range, and only a layout changes what is drawn.
  bottom.SetAxisRange(0, 25);
  EXPECT_EQ(bottom.RangeMax(), 5);
  bottom.AdjustRange();
  EXPECT_EQ(bottom.RangeMax(), 25);
}

TEST_F(AxisTest, ScrollAxisWithLimitsOnlyMovesTowardsHiddenPoints) {
  TFastLineSeries s;
  s.SetParentChart(&chart);
  s.AppendPoint(0, 20);
  s.AppendPoint(1, -10);
  TChartAxis& left = chart.LeftAxis();
  left.SetAxisRange(-25, 25);
  left.ScrollAxis(5, true);  // every value lies at or below the maximum
  EXPECT_EQ(left.Maximum(), 25);
  left.ScrollAxis(0, true);
  EXPECT_EQ(left.Minimum(), -25);
  left.SetAxisRange(-5, 5);
  left.ScrollAxis(2, true);  // 20 lies above 5
  EXPECT_EQ(left.Minimum(), -3);
  EXPECT_EQ(left.Maximum(), 7);
  left.ScrollAxis(-1, true);  // -10 lies below -3
  EXPECT_EQ(left.Minimum(), -4);
  left.ScrollAxis(100, false);
  EXPECT_EQ(left.Maximum(), 106);
}

TEST_F(AxisTest, HitTestBandAroundTheLeftAxis) {
  chart.resize(389, 233);
  TFastLineSeries s;
  s.SetParentChart(&chart);
  chart.LeftAxis().SetAxisRange(-25, 25);
  chart.BottomAxis().SetAxisRange(0, 25);
  chart.PaintChart(nullptr, chart.ClientRect());
  const TChartAxis& left = chart.LeftAxis();
  const int y = (left.PixelStart() + left.PixelEnd()) / 2;
  EXPECT_TRUE(left.AxisHitTest(left.AxisLinePos() + 2, y));
  EXPECT_FALSE(left.AxisHitTest(left.AxisLinePos() + 3, y));
  EXPECT_TRUE(left.AxisHitTest(left.LabelsPos(), y));
  EXPECT_FALSE(left.AxisHitTest(left.LabelsPos() - 1, y));
  EXPECT_FALSE(left.AxisHitTest(left.AxisLinePos(), std::max(left.PixelStart(), left.PixelEnd())));
  EXPECT_FALSE(chart.RightAxis().AxisHitTest(chart.RightAxis().AxisLinePos(), y));  // hidden
}

}  // namespace

namespace {

// Pixels left of the left axis that differ from the background inside the panel's frame (the
// gradient runs top to bottom, so a row's background is one colour): the labels' ink.
int LeftLabelInk(OscilloscopeChart& scope) {
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  const QImage& image = *scope.chart.BufferImage();
  const TRect plot = scope.chart.PlotRect;
  int ink = 0;
  for (int y = plot.Top; y < plot.Bottom; ++y)
    for (int x = 3; x < scope.chart.LeftAxis().AxisLinePos() - 6; ++x)
      ink += image.pixel(x, y) != image.pixel(2, y);
  return ink;
}

// Ranges without a sensible step or pixel still paint, at once, without labels.
TEST(AxisPaint, NonFiniteRangesPaintWithoutLabels) {
  OscilloscopeChart finite(389, 233);
  ASSERT_GT(LeftLabelInk(finite), 0);  // the probe sees the usual labels
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e308}) {
    OscilloscopeChart scope(389, 233);
    scope.Series1().AppendPoint(1, 1);
    scope.chart.LeftAxis().SetAxisRange(-bad, bad);
    scope.chart.BottomAxis().SetAxisRange(0, bad);
    EXPECT_EQ(LeftLabelInk(scope), 0) << bad;
    EXPECT_FALSE(scope.chart.BufferDirty());
  }
}

// With no separation between labels and a small step, far more labels than an axis keeps are
// walked; the paint goes through.
TEST(AxisPaint, ThousandsOfLabelsStayWithinTheTickList) {
  OscilloscopeChart scope(389, 233);
  TChartAxis& bottom = scope.chart.BottomAxis();
  bottom.SetLabelsSeparation(0);
  bottom.SetIncrement(1);
  bottom.SetAxisRange(0, 5000);
  bottom.SetTickOnLabelsOnly(false);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  EXPECT_FALSE(scope.chart.BufferDirty());
}

}  // namespace
