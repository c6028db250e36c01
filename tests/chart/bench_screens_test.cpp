// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's traces on the oscilloscope screen, written as PNG files to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "chart/chart.h"
#include "sim/bench.h"
#include "tests/support/bench_scene.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

struct BenchOnScreen {
  BenchOnScreen() : scope(1520, 760), trace1(scope.Series1()), trace4(scope.Series4()) {
    bench.Connect(nullptr, &trace1, &trace4);
  }
  const QImage& Paint(const QString& name) {
    scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
    const QString dir = QDir::current().filePath(QStringLiteral("screens"));
    QDir().mkpath(dir);
    scope.chart.BufferImage()->save(dir + QLatin1Char('/') + name);
    return *scope.chart.BufferImage();
  }
  OscilloscopeChart scope;
  TSeriesTrace<TFastLineSeries> trace1, trace4;
  TBench bench;
};

TEST(BenchOnScreen, TwoQuadrantWithInductance) {
  BenchOnScreen screen;
  RunTwoQuadrantsWithInductance(screen.bench, 100);
  const QImage& image = screen.Paint(QStringLiteral("two-quadrant-self-type2-bar100.png"));

  const TChartAxis& left = screen.scope.chart.LeftAxis();
  const TChartAxis& bottom = screen.scope.chart.BottomAxis();
  const TRect plot = screen.scope.chart.PlotRect;
  // The +E stretch of the first period, in red, and the blue zero line under it elsewhere.
  EXPECT_EQ(PixelAt(image, bottom.ValueToPixel(2.0), left.ValueToPixel(10.4)), clRed);
  EXPECT_EQ(PixelAt(image, bottom.ValueToPixel(4.5), left.ValueToPixel(-10.4)), clRed);
  EXPECT_EQ(PixelAt(image, bottom.ValueToPixel(2.0), left.ValueToPixel(0)), clBlue);
  // The red trace is drawn after the blue line: where they cross, red is on top.
  const int crossing = bottom.ValueToPixel(3.75);
  bool redOnZeroRow = false;
  for (int x = crossing - 3; x <= crossing + 3; ++x) {
    redOnZeroRow = redOnZeroRow || PixelAt(image, x, left.ValueToPixel(0)) == clRed;
  }
  EXPECT_TRUE(redOnZeroRow);
  // The -E-20 spike (-30.4 V) lies below the plot: clipped at the last row of the clip.
  bool clippedAtBottom = false;
  for (int x = crossing - 5; x <= crossing + 5; ++x) {
    clippedAtBottom = clippedAtBottom || PixelAt(image, x, plot.Bottom - 2) == clRed;
    EXPECT_NE(PixelAt(image, x, plot.Bottom - 1), clRed);
  }
  EXPECT_TRUE(clippedAtBottom);
}

TEST(BenchOnScreen, FourQuadrantMachineTwoDriving) {
  BenchOnScreen screen;
  RunFourQuadrantsMachineTwoDriving(screen.bench);
  const QImage& image = screen.Paint(QStringLiteral("four-quadrant-machine2-bar200.png"));
  // 16 V with a ripple of -2 % .. +2 %: the red trace stays within those rows.
  const TChartAxis& left = screen.scope.chart.LeftAxis();
  const TChartAxis& bottom = screen.scope.chart.BottomAxis();
  const int top = left.ValueToPixel(16.32), low = left.ValueToPixel(15.68);
  for (double t = 0.5; t < 24.5; t += 1.0) {
    const int x = bottom.ValueToPixel(t);
    int reds = 0;
    for (int y = 0; y < image.height(); ++y) {
      if (PixelAt(image, x, y) != clRed) continue;
      ++reds;
      EXPECT_GE(y, top) << t;
      EXPECT_LE(y, low) << t;
    }
    EXPECT_GT(reds, 0) << t;
  }
}

}  // namespace
