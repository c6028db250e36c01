// Dense traces: the fast line series paints exactly the image of the plain algorithm (each
// visible point mapped through its axes on its own, every segment drawn with LineTo, a point
// on the pixel drawn before it making no line), on walks, sines, square waves and steps of a
// thousand to a million points, inside the plot and beyond its edges.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <random>

#include "chart/chart.h"

namespace {

enum class Shape { kWalk, kSine, kSquare, kSteps, kSpikes };

struct Row {
  Shape shape;
  int count;
  bool beyond;  // from left of the plot to right of it, and higher and lower than it
  int penWidth = 1;
  double multiplier = 1;
};

// The axes show 0 .. 10 and -10 .. 10.
void Fill(TFastLineSeries& series, const Row& row) {
  std::mt19937 random(static_cast<unsigned>(row.count) + static_cast<unsigned>(row.shape));
  std::normal_distribution<double> step(0, 0.3);
  const double x0 = row.beyond ? -1.5 : 0.2, x1 = row.beyond ? 11.5 : 9.8;
  const double amplitude = row.beyond ? 13 : 8;
  const double huge = 1e12, inf = std::numeric_limits<double>::infinity();
  double y = 0;
  for (int i = 0; i < row.count; ++i) {
    const double x = x0 + (x1 - x0) * i / (row.count - 1);
    const double wave = std::sin(2 * M_PI * 3 * x / 10);
    switch (row.shape) {
      case Shape::kSine:
        y = amplitude * wave;
        break;
      case Shape::kSquare:
        y = wave >= 0 ? amplitude : -amplitude;
        break;
      case Shape::kSteps:
        y = amplitude * ((i / (row.count / 13 + 1)) % 5 - 2) / 2;
        break;
      case Shape::kWalk:
      case Shape::kSpikes:
        y += step(random);
        if (std::fabs(y) > amplitude) y = std::copysign(2 * amplitude, y) - y;
        break;
    }
    double stored = y;
    if (row.shape == Shape::kSpikes) {
      if (i % 997 == 0) stored = i % 2 ? huge : -huge / 1e4;
      if (i % 1999 == 0) stored = std::nan("");
      if (i % 4999 == 0) stored = i % 2 ? inf : -inf;
    }
    series.AppendPoint(x, stored);
  }
}

struct Plain {
  QImage image;
  int lines = 0;
  TPoint last;
};

// The chart painted with the trace's pen hidden, then the trace drawn on it step by step.
Plain PaintPlainly(TChart& chart, TFastLineSeries& series) {
  series.LinePen().SetVisible(false);
  chart.PaintChart(nullptr, chart.ClientRect());
  Plain plain;
  plain.image = chart.BufferImage()->copy();
  series.LinePen().SetVisible(true);
  const int first = series.FirstVisibleIndex;
  if (first < 0) return plain;
  const auto pixel = [&](int i) {
    return TPoint{series.ResolvedHorizAxis()->ValueToPixel(series.XValues().ValueAt(i)),
                  series.ResolvedVertAxis()->ValueToPixel(series.YValues().ValueAt(i))};
  };
  TCanvas canvas(&plain.image);
  canvas.Pen.Color = series.SeriesColor();
  canvas.Pen.Width = series.LinePen().Width();
  const TRect plot = chart.PlotRect;
  canvas.IntersectClipRect({plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1});
  TPoint last = pixel(first);
  canvas.MoveTo(last.X, last.Y);
  if (first > 0) {
    const TPoint before = pixel(first - 1);
    canvas.MoveTo(before.X, before.Y);
    canvas.LineTo(last.X, last.Y);
    ++plain.lines;
  }
  for (int i = first + 1; i <= series.LastVisibleIndex; ++i) {
    const TPoint p = pixel(i);
    if (p == last) continue;
    canvas.LineTo(p.X, p.Y);
    ++plain.lines;
    last = p;
  }
  plain.last = last;
  return plain;
}

int Differences(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x)
      count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  }
  return count;
}

class DenseTrace : public testing::TestWithParam<Row> {};

TEST_P(DenseTrace, PaintsThePixelsOfThePlainAlgorithm) {
  const Row& row = GetParam();
  TChart chart;
  chart.resize(480, 300);
  chart.BottomAxis().SetAxisRange(0, 10);
  chart.LeftAxis().SetAxisRange(-10, 10);
  TFastLineSeries series;
  series.SetSeriesColor(clRed);
  series.LinePen().SetWidth(row.penWidth);
  series.YValues().SetMultiplier(row.multiplier);
  series.SetParentChart(&chart);
  Fill(series, row);

  const Plain plain = PaintPlainly(chart, series);
  int linesBefore = 0, linesAfter = 0;  // the trace's own, apart from the axes' and the grid's
  series.BeforeDrawValues = [&](TChartSeries*) { linesBefore = chart.Canvas().LinesDrawn; };
  series.AfterDrawValues = [&](TChartSeries*) { linesAfter = chart.Canvas().LinesDrawn; };
  chart.PaintChart(nullptr, chart.ClientRect());
  const QImage& fast = *chart.BufferImage();
  ASSERT_TRUE(fast == plain.image) << Differences(fast, plain.image) << " pixels differ";
  EXPECT_EQ(linesAfter - linesBefore, plain.lines);
  EXPECT_EQ(series.LastDrawnX, plain.last.X);
  EXPECT_EQ(series.LastDrawnY, plain.last.Y);
  EXPECT_GT(plain.lines, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DenseTrace,
    testing::Values(Row{Shape::kWalk, 1000, false}, Row{Shape::kWalk, 100000, true},
                    Row{Shape::kWalk, 1000000, false}, Row{Shape::kSine, 1000, true},
                    Row{Shape::kSine, 100000, false}, Row{Shape::kSine, 1000000, true},
                    Row{Shape::kSquare, 1000, false}, Row{Shape::kSquare, 100000, true},
                    Row{Shape::kSquare, 1000000, true}, Row{Shape::kSteps, 1000, true},
                    Row{Shape::kSteps, 100000, false}, Row{Shape::kSteps, 1000000, true},
                    // Far values, NaN and infinities, read through a multiplier.
                    Row{Shape::kSpikes, 100000, true, 1, 0.5},
                    Row{Shape::kSpikes, 1000000, false, 1, -3},
                    // A wide pen draws segment by segment.
                    Row{Shape::kWalk, 1000, true, 2}, Row{Shape::kSquare, 1000, false, 2}));

}  // namespace
