// SPDX-License-Identifier: GPL-3.0-or-later
// Dense traces: the fast line series paints exactly the image of the plain algorithm (each
// visible point mapped through its axes on its own, every segment drawn with LineTo, a point
// on the pixel drawn before it making no line), on walks, sines, square waves and steps of a
// thousand to a million points, inside the plot and beyond its edges, on turned axes, zoomed,
// and on short traces of a few crowded columns; and the pixel runs behind the crowded columns
// tell what mapping each value does.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "chart/axis/axis_map.h"
#include "chart/chart.h"

namespace {

// A draw from 0 to n - 1, as `random() % n` gives it.
int Below(std::mt19937& random, int n) {
  return static_cast<int>(random() % static_cast<unsigned>(n));
}

enum class Shape { kWalk, kSine, kSquare, kSteps, kSpikes };

// What differs from the plain setting: both axes inverted, X read through a multiplier of -1
// (stored ascending, drawn right to left), the bottom axis zoomed onto 3.1 .. 3.9, X rounded
// to 1/40 (runs of equal X), a dotted pen, one X value NaN halfway.
enum class Twist { kNone, kInverted, kReversedX, kZoomed, kEqualX, kDotted, kNaNX };

struct Row {
  Shape shape;
  int count;
  bool beyond;  // from left of the plot to right of it, and higher and lower than it
  int penWidth = 1;
  double multiplier = 1;
  Twist twist = Twist::kNone;
};

double StoredX(const Row& row, int i, double x, double x0, double x1) {
  switch (row.twist) {
    case Twist::kReversedX:
      return x - (x0 + x1);  // × -1: from x1 down to x0
    case Twist::kEqualX:
      return std::round(x * 40) / 40;
    case Twist::kNaNX:
      return i == row.count / 2 ? std::nan("") : x;
    default:
      return x;
  }
}

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
    series.AppendPoint(StoredX(row, i, x, x0, x1), stored);
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
  // The background a dotted pen's gaps take, as the trace finds it.
  TBackgroundMode backgroundMode = bkTransparent;
  TColor backgroundColor = clWhite;
  series.BeforeDrawValues = [&](TChartSeries*) {
    backgroundMode = chart.Canvas().Surface().BackgroundMode;
    backgroundColor = chart.Canvas().Surface().BackgroundColor;
  };
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
  canvas.Pen.Style = series.LinePen().Style();
  canvas.BackgroundMode = backgroundMode;
  canvas.BackgroundColor = backgroundColor;
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

// A 480 × 300 chart showing 0 .. 10 and -10 .. 10, with a red one-pixel trace.
struct DenseChart {
  DenseChart() {
    chart.resize(480, 300);
    chart.BottomAxis().SetAxisRange(0, 10);
    chart.LeftAxis().SetAxisRange(-10, 10);
    series.SetSeriesColor(clRed);
    series.SetParentChart(&chart);
  }
  TChart chart;
  TFastLineSeries series;
};

// The chart painted plainly, then as the series paints it: the same image, the same lines.
void ExpectPaintedPlainly(TChart& chart, TFastLineSeries& series) {
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

class DenseTrace : public testing::TestWithParam<Row> {};

TEST_P(DenseTrace, PaintsThePixelsOfThePlainAlgorithm) {
  const Row& row = GetParam();
  DenseChart dense;
  TChart& chart = dense.chart;
  TFastLineSeries& series = dense.series;
  series.LinePen().SetWidth(row.penWidth);
  series.YValues().SetMultiplier(row.multiplier);
  if (row.twist == Twist::kInverted) {
    chart.BottomAxis().SetInverted(true);
    chart.LeftAxis().SetInverted(true);
  }
  if (row.twist == Twist::kReversedX) series.XValues().SetMultiplier(-1);
  if (row.twist == Twist::kZoomed) chart.BottomAxis().SetAxisRange(3.1, 3.9);
  if (row.twist == Twist::kDotted) series.LinePen().SetStyle(psDot);
  Fill(series, row);
  ExpectPaintedPlainly(chart, series);
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
                    Row{Shape::kWalk, 1000, true, 2}, Row{Shape::kSquare, 1000, false, 2},
                    Row{Shape::kWalk, 100000, true, 1, 1, Twist::kInverted},
                    Row{Shape::kSine, 1000000, false, 1, -1, Twist::kInverted},
                    Row{Shape::kWalk, 100000, false, 1, 1, Twist::kReversedX},
                    Row{Shape::kSquare, 1000000, false, 1, 1, Twist::kReversedX},
                    Row{Shape::kWalk, 1000000, true, 1, 1, Twist::kZoomed},
                    Row{Shape::kSpikes, 1000000, true, 1, 1, Twist::kZoomed},
                    Row{Shape::kWalk, 100000, true, 1, 1, Twist::kEqualX},
                    Row{Shape::kSteps, 100000, false, 1, 1, Twist::kEqualX},
                    Row{Shape::kWalk, 100000, false, 1, 1, Twist::kDotted},
                    Row{Shape::kWalk, 100000, true, 1, 1, Twist::kNaNX}));

// Short traces over a few columns, each crowded with points on a few rows: every way a column
// can end (on a row reached before or not, between the others or beyond them, after repeats
// of it), at the trace's end too, where no line leaves the column to cover its final row.
TEST(DenseTrace, CrowdedColumnsOnFewRows) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 150; ++trial) {
    DenseChart dense;
    const int columns = 1 + static_cast<int>(random() % 4);
    const int levels = 2 + static_cast<int>(random() % 4);
    const double start = static_cast<double>(random() % 4000) / 400.0;  // anywhere on the axis
    for (int c = 0; c < columns; ++c) {
      const int points = 16 + static_cast<int>(random() % 120);
      // Now and then a column ends on a row beyond all its others.
      const int finalLevel = random() % 3 == 0 ? (random() % 2 ? levels : -1) : -2;
      for (int k = 0; k < points; ++k) {
        // A column is 10 / ~470 wide: these stay inside one or spill into the next.
        const double x = start + (c + k / static_cast<double>(points)) * 0.02;
        int level = Below(random, levels);
        if (k == points - 1 && finalLevel != -2) level = finalLevel;
        const int middle = levels / 2;
        dense.series.AppendPoint(x, (level - middle) * 0.2);  // a few pixels apart
      }
    }
    SCOPED_TRACE(trial);
    ExpectPaintedPlainly(dense.chart, dense.series);
    if (HasFatalFailure()) return;
  }
}

// The order of the X values is read again after any change: values moved out of order after a
// paint draw their long segments there and back.
TEST(DenseTrace, AnXValueMovedAfterAPaint) {
  DenseChart dense;
  Fill(dense.series, Row{Shape::kWalk, 100000, false});
  dense.chart.PaintChart(nullptr, dense.chart.ClientRect());
  dense.series.XValues().SetValueAt(30011, 9.5);
  dense.series.XValues().SetValueAt(60013, 0.5);
  ExpectPaintedPlainly(dense.chart, dense.series);
}

// Random values (ties, NaN, infinities, far values) on maps of every direction: the run tells
// the bounds, changes and departures from the watched pixel that mapping one by one gives.
TEST(PixelRun, TellsWhatMappingEachValueTells) {
  std::mt19937 random(5);
  const double inf = std::numeric_limits<double>::infinity();
  for (int round = 0; round < 2000; ++round) {
    const bool horizontal = random() % 2 == 0, inverted = random() % 2 == 0;
    const TAxisMap map{-10,
                       10,
                       20,
                       20 + static_cast<int>(random() % 700),
                       horizontal,
                       inverted,
                       random() % 8 == 0};
    const double multiplier = round % 3 == 0 ? -2.5 : 1;
    std::vector<double> values(random() % 90);
    const int rows = 1 + static_cast<int>(random() % 30);  // few rows: repeats are common
    const int middle = rows / 2;
    for (double& v : values) {
      switch (random() % 20) {
        case 0:
          v = std::nan("");
          break;
        case 1:
          v = random() % 2 ? inf : -inf;
          break;
        case 2:
          v = 1e300;
          break;
        default:
          v = (Below(random, rows) - middle) * 20.0 / rows / multiplier;
      }
    }
    const int count = static_cast<int>(values.size());
    const int before = map.ValueToPixel(static_cast<int>(random() % 20) - 10.0);
    const int mark = random() % 2 ? before : map.ValueToPixel(values.empty() ? 0 : values.back());
    TAxisMap::PixelRun expected;
    int last = before;
    for (const double value : values) {
      const int p = map.ValueToPixel(value * multiplier);
      expected.lowest = std::min(expected.lowest, p);
      expected.highest = std::max(expected.highest, p);
      expected.changes += p != last ? 1 : 0;
      expected.leaves += p != last && last == mark ? 1 : 0;
      last = p;
    }
    const TAxisMap::PixelRun run = map.RunOfPixels(values.data(), multiplier, count, before, mark);
    ASSERT_EQ(run.lowest, expected.lowest) << "round " << round;
    ASSERT_EQ(run.highest, expected.highest) << "round " << round;
    ASSERT_EQ(run.changes, expected.changes) << "round " << round;
    ASSERT_EQ(run.leaves, expected.leaves) << "round " << round;
  }
}

}  // namespace
