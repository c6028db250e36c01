// SPDX-License-Identifier: GPL-3.0-or-later
// The fast line series: which segments a paint draws, where their pixels land, hit tests.
#include "chart/series/fast_line_series.h"

#include <gtest/gtest.h>

#include <QImage>
#include <limits>

#include "chart/chart.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

// A bare chart (no axes drawn, no grid) whose only lines are the series' own.
struct BareChart {
  BareChart() {
    chart.resize(200, 120);
    chart.SetAxisVisible(false);
    chart.BackWall.Pen.SetVisible(false);
    chart.BottomAxis().SetAxisRange(0, 10);
    chart.LeftAxis().SetAxisRange(0, 10);
    series.SetSeriesColor(clRed);
    series.SetParentChart(&chart);
  }
  int Paint() {
    chart.PaintChart(nullptr, chart.ClientRect());
    return chart.Canvas().LinesDrawn;
  }
  TChart chart;
  TFastLineSeries series;
};

TEST(FastLineSeries, FirstVisiblePointIsReachedFromThePointBefore) {
  BareChart bare;
  for (int x = -5; x <= 5; ++x)
    bare.series.AppendPoint(x, 5);  // indices 0 .. 10, x = 0 at 5
  EXPECT_EQ(bare.Paint(), 6);       // 4→5 entering, then 5→6 ... 9→10
  EXPECT_EQ(bare.series.FirstVisibleIndex, 5);
  const QImage& image = *bare.chart.BufferImage();
  // The entering segment is clipped at the plot's inner edge.
  const TRect plot = bare.chart.PlotRect;
  const int y = bare.chart.LeftAxis().ValueToPixel(5);
  EXPECT_EQ(PixelAt(image, plot.Left + 1, y), clRed);
  EXPECT_NE(PixelAt(image, plot.Left, y), clRed);
}

TEST(FastLineSeries, ASinglePointAtIndexZeroOnlyMovesThePen) {
  BareChart bare;
  bare.series.AppendPoint(5, 5);
  EXPECT_EQ(bare.Paint(), 0);
  EXPECT_EQ(bare.series.FirstVisibleIndex, 0);
  EXPECT_EQ(bare.series.LastVisibleIndex, 0);
}

TEST(FastLineSeries, RepeatedPixelsCostNoLineCall) {
  BareChart bare;
  bare.series.AppendPoint(1, 1);
  bare.series.AppendPoint(2, 2);
  bare.series.AppendPoint(2.001, 2.001);  // the same pixel as the point before
  bare.series.AppendPoint(2.002, 2.002);
  bare.series.AppendPoint(1.5, 1);  // goes before in X order: index 1
  EXPECT_EQ(bare.Paint(), 2);       // (1,1)→(1.5,1)→(2,2), then two repeats skipped
  bare.series.ClearPoints();
  bare.series.AppendPoint(1, 1);
  bare.series.AppendPoint(2, 2);
  bare.series.AppendPoint(2.001, 2);  // same pixel
  bare.series.AppendPoint(3, 1);      // back down, a new pixel
  bare.series.AppendPoint(4, 2);      // the row of an earlier point, another column: drawn
  EXPECT_EQ(bare.Paint(), 3);
  EXPECT_EQ(bare.series.LastDrawnX, bare.series.XPixel(4));
}

// A square wave lands on the rows the axis gives, drawn in the pen colour, and nothing of it
// lies outside the series clip rectangle.
TEST(FastLineSeries, SquareWavePixelsLandOnTheAxisRows) {
  OscilloscopeChart scope(389, 233);
  TFastLineSeries& trace = scope.Series1();
  const double high = 10.4, low = -10.4;
  // Ten stretches of 2.5 ms; equal X values at each switch make the edges vertical.
  for (int k = 0; k < 9; ++k) {
    trace.AppendPoint(k * 2.5, k % 2 == 0 ? high : low);
    trace.AppendPoint(k * 2.5 + 2.5, k % 2 == 0 ? high : low);
  }
  trace.AppendPoint(23.5, 40);  // a spike above the top
  trace.AppendPoint(26, 40);    // and on beyond the right edge
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  const QImage& image = *scope.chart.BufferImage();
  const TRect plot = scope.chart.PlotRect;
  const TChartAxis& left = scope.chart.LeftAxis();
  const TChartAxis& bottom = scope.chart.BottomAxis();

  const int highRow = left.ValueToPixel(high);
  const int lowRow = left.ValueToPixel(low);
  // Middle of each flat stretch.
  EXPECT_EQ(PixelAt(image, bottom.ValueToPixel(1.0), highRow), clRed);
  EXPECT_EQ(PixelAt(image, bottom.ValueToPixel(3.5), lowRow), clRed);
  EXPECT_NE(PixelAt(image, bottom.ValueToPixel(3.5), highRow), clRed);
  // A vertical edge: the column of x = 2.5 joins the two rows.
  const int edge = bottom.ValueToPixel(2.5);
  for (int y = highRow + 1; y < lowRow; ++y) {
    EXPECT_EQ(PixelAt(image, edge, y), clRed) << y;
  }
  // Red only inside the clip: x from Left + 1 to Right - 1, y from Top + 1 to Bottom - 2.
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (PixelAt(image, x, y) != clRed) continue;
      ASSERT_GE(x, plot.Left + 1);
      ASSERT_LE(x, plot.Right - 1);
      ASSERT_GE(y, plot.Top + 1);
      ASSERT_LE(y, plot.Bottom - 2);
    }
  }
  // The last segment climbs out through the top and is cut on the first row of the clip.
  bool reachesTop = false;
  for (int x = bottom.ValueToPixel(22.5); x <= bottom.ValueToPixel(23.5); ++x) {
    reachesTop = reachesTop || PixelAt(image, x, plot.Top + 1) == clRed;
  }
  EXPECT_TRUE(reachesTop);
}

TEST(FastLineSeries, PointAtPixel) {
  BareChart bare;
  for (int i = 0; i <= 6; ++i)
    bare.series.AppendPoint(i, i % 2 == 0 ? 2 : 8);
  EXPECT_EQ(bare.series.PointAtPixel(0, 0), -1);  // nothing visible before a paint
  bare.Paint();
  TFastLineSeries& s = bare.series;
  EXPECT_EQ(s.PointAtPixel(s.XPixel(4), s.YPixel(4)), 4);
  // Half-way along the segment from point 3 to point 4.
  const int mx = (s.XPixel(3) + s.XPixel(4)) / 2;
  const int my = (s.YPixel(3) + s.YPixel(4)) / 2;
  ASSERT_TRUE(PointOnSegment({mx, my}, {s.XPixel(4), s.YPixel(4)}, {s.XPixel(3), s.YPixel(3)}, 0));
  EXPECT_EQ(s.PointAtPixel(mx, my), 3);
  EXPECT_EQ(s.PointAtPixel(mx, my + 15), -1);
  EXPECT_EQ(s.PointAtPixel(s.XPixel(6) + 10, s.YPixel(6)), -1);  // beyond the last point
}

TEST(FastLineSeries, PointOnSegmentRules) {
  EXPECT_TRUE(PointOnSegment({5, 5}, {0, 0}, {10, 10}, 0));
  EXPECT_TRUE(PointOnSegment({5, 0}, {0, 0}, {10, 0}, 0));
  EXPECT_FALSE(PointOnSegment({5, 1}, {0, 0}, {10, 0}, 0));   // a pixel off the line
  EXPECT_FALSE(PointOnSegment({11, 0}, {0, 0}, {10, 0}, 0));  // beyond B
  EXPECT_FALSE(PointOnSegment({-1, 0}, {0, 0}, {10, 0}, 0));  // beyond A
  EXPECT_TRUE(PointOnSegment({11, 0}, {0, 0}, {10, 0}, 1));   // within the tolerance
  EXPECT_FALSE(PointOnSegment({3, 3}, {3, 3}, {3, 3}, 0));    // zero length holds nothing
  EXPECT_TRUE(PointOnSegment({10, 0}, {0, 0}, {10, 0}, 0));
  // Ends a whole integer range apart: the products need more than 64 bits.
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  EXPECT_TRUE(PointOnSegment({0, 0}, {kMin + 1, kMin + 1}, {kMax, kMax}, 0));
  EXPECT_FALSE(PointOnSegment({0, 1}, {kMin + 1, kMin + 1}, {kMax, kMax}, 0));
  EXPECT_FALSE(PointOnSegment({0, 0}, {kMin, kMax}, {kMax, kMin + 7}, 0));
  EXPECT_TRUE(PointOnSegment({kMax, kMax}, {0, 0}, {1, 1}, kMax));  // within a huge tolerance
}

// The visible range is the last paint's: points removed since are not looked at.
TEST(FastLineSeries, PointAtPixelAfterPointsWentAway) {
  BareChart bare;
  for (int i = 0; i <= 6; ++i)
    bare.series.AppendPoint(i, 5);
  bare.Paint();
  TFastLineSeries& s = bare.series;
  const int x = s.XPixel(6), y = s.YPixel(6);
  s.RemovePoint(6);
  s.RemovePoint(5);
  EXPECT_EQ(s.PointAtPixel(x, y), -1);
  EXPECT_EQ(s.PointAtPixel(s.XPixel(2), s.YPixel(2)), 2);
  s.ClearPoints();
  EXPECT_EQ(s.PointAtPixel(x, y), -1);
  bare.chart.MouseDown(Qt::LeftButton, {}, x, y);  // no longer a reason to throw
  bare.chart.MouseUp(Qt::LeftButton, {}, x, y);
}

TEST(FastLineSeries, PenAndSeriesColourStayEqual) {
  TChart chart;
  TFastLineSeries s;
  s.SetParentChart(&chart);
  s.SetSeriesColor(clBlue);
  EXPECT_EQ(s.LinePen().Color(), clBlue);
  TChartPen pen;
  pen.SetColor(clYellow);
  pen.SetWidth(3);
  s.SetLinePen(pen);
  EXPECT_EQ(s.SeriesColor(), clYellow);
  EXPECT_EQ(s.LinePen().Width(), 3);
  s.LinePen().SetColor(clRed);
  EXPECT_EQ(s.SeriesColor(), clRed);
  chart.PaintChart(nullptr, chart.ClientRect());
  s.LinePen().SetWidth(2);  // any change of the pen repaints
  EXPECT_TRUE(chart.BufferDirty());
  chart.PaintChart(nullptr, chart.ClientRect());
  s.LinePen().SetWidth(2);
  EXPECT_FALSE(chart.BufferDirty());
}

TEST(FastLineSeries, WithoutAutoRepaintAPointIsDrawnAtOnce) {
  BareChart bare;
  bare.series.AppendPoint(1, 5);
  bare.Paint();
  int afterAdd = 0;
  bare.series.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdd; };
  bare.series.SetAutoRepaint(false);
  bare.series.AppendPoint(9, 5);
  EXPECT_EQ(afterAdd, 0);
  EXPECT_FALSE(bare.chart.BufferDirty());
  const QImage& image = *bare.chart.BufferImage();
  const int y = bare.chart.LeftAxis().ValueToPixel(5);
  EXPECT_EQ(PixelAt(image, bare.chart.BottomAxis().ValueToPixel(5), y), clRed);
  // With AutoRepaint the same point asks for a repaint and raises OnAfterAdd.
  bare.series.SetAutoRepaint(true);
  bare.series.AppendPoint(10, 5);
  EXPECT_EQ(afterAdd, 1);
  EXPECT_TRUE(bare.chart.BufferDirty());
}

TEST(FastLineSeries, InvisiblePenDrawsNothing) {
  BareChart bare;
  bare.series.AppendPoint(1, 1);
  bare.series.AppendPoint(9, 9);
  bare.series.LinePen().SetVisible(false);
  bare.Paint();
  const QImage& image = *bare.chart.BufferImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      ASSERT_NE(PixelAt(image, x, y), clRed);
  }
}

}  // namespace
