// SPDX-License-Identifier: GPL-3.0-or-later
// The cross series: the pixels of one cross per point however crowded the points, whatever
// the arms' sizes, whole or cut at the plot's edges; its settings.
#include "chart/series/cross_series.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <random>
#include <vector>

#include "chart/chart.h"

namespace {

// A bare chart (no axes, no frame) whose only pixels of the series' colour are its crosses.
struct BareChart {
  BareChart() {
    chart.resize(320, 220);
    chart.SetAxisVisible(false);
    chart.BackWall.Pen.SetVisible(false);
    series.SetParentChart(&chart);
  }
  const QImage& Paint() {
    chart.PaintChart(nullptr, chart.ClientRect());
    return *chart.BufferImage();
  }
  TChart chart;
  TCrossSeries series;
};

// What a cross per point draws, one point at a time: every pixel within ArmLength along and
// ArmHalfWidth across each arm, inside the frame the chart clips series to: 1 in a one-bit
// image of the screen's size where a pixel is crossed.
QImage OneCrossPerPoint(const BareChart& bare, const QImage& image) {
  const TCrossSeries& s = bare.series;
  const TRect& p = bare.chart.PlotRect;
  const TRect clip{p.Left + 1, p.Top + 1, p.Right, p.Bottom - 1};
  QImage crossed(image.size(), QImage::Format_Mono);
  crossed.fill(0);
  const auto mark = [&](int x, int y) {
    if (clip.Contains(x, y)) crossed.setPixel(x, y, 1);
  };
  for (int i = 0; i < s.PointCount(); ++i) {
    const int x = s.XPixel(i), y = s.YPixel(i);
    for (int along = -s.ArmLength(); along <= s.ArmLength(); ++along) {
      for (int across = -s.ArmHalfWidth(); across <= s.ArmHalfWidth(); ++across) {
        mark(x + along, y + across);
        mark(x + across, y + along);
      }
    }
  }
  return crossed;
}

int WrongPixels(const QImage& image, const QImage& crossed, TColor color) {
  const QRgb rgb = ToQColor(color).rgb();
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      wrong += (image.pixel(x, y) == rgb) != (crossed.pixelIndex(x, y) == 1);
  return wrong;
}

TEST(CrossSeries, PixelsOfOneCrossPerPointWhereverTheyCrowd) {
  const struct {
    int arm, halfWidth;
    TColor color;
  } cases[] = {{5, 1, clNavy}, {0, 0, clFuchsia}, {3, 0, clTeal},
               {0, 2, clNavy}, {2, 4, clOlive},   {12, 1, clFuchsia}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "arm " << c.arm << ", half width " << c.halfWidth);
    BareChart bare;
    bare.series.SetArmLength(c.arm);
    bare.series.SetArmHalfWidth(c.halfWidth);
    bare.series.SetSeriesColor(c.color);
    // A crowd along a line (X kept in order, many on one pixel), and a few far apart.
    std::mt19937 random(11);
    std::normal_distribution<double> scatter(0, 4);
    for (int k = 0; k < 3000; ++k)
      bare.series.AppendPoint(k % 300 / 3.0, k % 300 / 3.0 + scatter(random));
    bare.series.AppendPoint(50, 20);
    bare.series.AppendPoint(std::nan(""), 50);  // no pixel: the axis's centre
    for (bool zoomed : {false, true}) {
      SCOPED_TRACE(zoomed);
      TChartAxis &bottom = bare.chart.BottomAxis(), &left = bare.chart.LeftAxis();
      bottom.SetAxisRange(zoomed ? 20 : 0, zoomed ? 40 : 100);
      left.SetAxisRange(zoomed ? 10 : -20, zoomed ? 50 : 120);
      bare.Paint();
      if (!zoomed) {
        // Crowded arms merge along each row and column: a quarter of the lines a cross per
        // point would draw, at most (crosses of one pixel only merge where they touch).
        const int perPoint = 2 * (2 * c.halfWidth + 1) * bare.series.PointCount();
        if (c.arm + c.halfWidth > 0) {
          EXPECT_LT(bare.chart.Canvas().LinesDrawn, perPoint / 4);
        }
      } else {
        // Lone points centred just beyond each edge of the plot: arms, or their sides, reach
        // in from some of them.
        const TRect& p = bare.chart.PlotRect;
        const double midX = bottom.PixelToValue((p.Left + p.Right) / 2);
        const double midY = left.PixelToValue((p.Top + p.Bottom) / 2);
        for (int out = 1; out <= 5; ++out) {
          const int d = out * (std::max(c.arm, c.halfWidth) + 1) / 4 + out;
          bare.series.AppendPoint(bottom.PixelToValue(p.Left - d), midY + out);
          bare.series.AppendPoint(bottom.PixelToValue(p.Right + d), midY - out);
          bare.series.AppendPoint(midX + out, left.PixelToValue(p.Top - d));
          bare.series.AppendPoint(midX - out, left.PixelToValue(p.Bottom + d));
        }
      }
      const QImage& image = bare.Paint();
      EXPECT_EQ(WrongPixels(image, OneCrossPerPoint(bare, image), c.color), 0);
    }
  }
}

TEST(CrossSeries, ArmSizesAreCheckedAndRepaintOnChange) {
  BareChart bare;
  TCrossSeries& s = bare.series;
  EXPECT_EQ(s.ArmLength(), 5);
  EXPECT_EQ(s.ArmHalfWidth(), 1);
  EXPECT_THROW(s.SetArmLength(-1), ChartException);
  EXPECT_THROW(s.SetArmLength(TCrossSeries::kMaxArm + 1), ChartException);
  EXPECT_THROW(s.SetArmHalfWidth(-1), ChartException);
  EXPECT_EQ(s.ArmLength(), 5);
  EXPECT_EQ(s.ArmHalfWidth(), 1);

  bare.Paint();
  s.SetArmLength(5);
  EXPECT_FALSE(bare.chart.BufferDirty());
  s.SetArmHalfWidth(TCrossSeries::kMaxArm);
  EXPECT_TRUE(bare.chart.BufferDirty());
}

}  // namespace
