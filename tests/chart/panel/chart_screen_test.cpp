// SPDX-License-Identifier: GPL-3.0-or-later
// The empty oscilloscope screen, pixel by pixel, through the chart's own paint.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "chart/chart.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

TColor PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

const QImage& Painted(TChart& chart) {
  chart.PaintChart(nullptr, chart.ClientRect());
  return *chart.BufferImage();
}

TEST(ChartPanel, MarginsArePercentagesOfThePanel) {
  OscilloscopeChart scope(389, 233);
  scope.chart.SetAxisVisible(false);  // no axis takes room
  Painted(scope.chart);
  EXPECT_EQ(scope.chart.PlotRect, (TRect{0, 7, 381, 233}));

  // MulDiv rounds halves away from zero: 3 % of 250 is 7.5, so 8.
  TChart chart;
  chart.resize(400, 250);
  chart.SetAxisVisible(false);
  chart.SetMarginTop(3);
  Painted(chart);
  EXPECT_EQ(chart.PlotRect.Top, 8);
  EXPECT_EQ(chart.PlotRect.Left, 12);  // 3 % of 400
}

TEST(ChartPanel, PlotRectStaysAtLeastOnePixel) {
  TChart chart;
  chart.resize(10, 10);
  chart.SetMarginLeft(80);
  chart.SetMarginRight(80);
  TFastLineSeries s;
  s.SetParentChart(&chart);
  Painted(chart);  // must not throw or hang
  EXPECT_GE(chart.PlotWidth(), 1);
  EXPECT_GE(chart.PlotHeight(), 1);
}

TEST(ChartPanel, GradientBandsFromBottomToTop) {
  // 300 rows: 256 bands; the start colour at the bottom, the end colour at the top.
  TChart chart;
  chart.resize(20, 300);
  chart.SetAxisVisible(false);
  chart.SetBevelOuter(bvNone);
  chart.Gradient().SetVisible(true);
  chart.Gradient().SetStartColor(0x000000);
  chart.Gradient().SetEndColor(0x0000FF);  // red grows from 0 to 255 going up
  chart.BackWall.Pen.SetVisible(false);
  const QImage& image = Painted(chart);
  EXPECT_EQ(PixelAt(image, 5, 299), 0x000000u);
  EXPECT_EQ(PixelAt(image, 5, 0), 0x0000FFu);
  int bands = 1;
  for (int y = 298; y >= 0; --y) {
    if (PixelAt(image, 5, y) != PixelAt(image, 5, y + 1)) ++bands;
  }
  EXPECT_EQ(bands, 256);

  // 100 rows: 100 bands of one row each.
  chart.resize(20, 100);
  const QImage& small = Painted(chart);
  for (int y = 0; y < 99; ++y)
    EXPECT_NE(PixelAt(small, 5, y), PixelAt(small, 5, y + 1)) << y;
}

TEST(ChartPanel, BackWallFrameOnAllFourEdgesOfThePlot) {
  TChart chart;  // default margins keep every edge of the plot inside the panel
  chart.resize(200, 150);
  chart.SetAxisVisible(false);  // axis lines and the grid would draw over the frame
  chart.Gradient().SetVisible(true);
  const QImage& image = Painted(chart);
  const TRect plot = chart.PlotRect;
  ASSERT_EQ(plot, (TRect{6, 6, 194, 144}));
  for (int x = plot.Left; x <= plot.Right; ++x) {
    EXPECT_EQ(PixelAt(image, x, plot.Top), clBlack) << x;
    EXPECT_EQ(PixelAt(image, x, plot.Bottom), clBlack) << x;
  }
  for (int y = plot.Top; y <= plot.Bottom; ++y) {
    EXPECT_EQ(PixelAt(image, plot.Left, y), clBlack) << y;
    EXPECT_EQ(PixelAt(image, plot.Right, y), clBlack) << y;
  }
  // Just outside and just inside the frame, the gradient: the wall's brush is clear.
  EXPECT_NE(PixelAt(image, plot.Right + 1, plot.Top + 5), clBlack);
  EXPECT_NE(PixelAt(image, plot.Left + 1, plot.Top + 5), clBlack);
  EXPECT_EQ(PixelAt(image, plot.Left + 1, plot.Top + 5),
            PixelAt(image, plot.Left - 1, plot.Top + 5));
}

TEST(ChartPanel, OnlyTheAxesOfTheSeriesShow) {
  OscilloscopeChart scope(389, 233);
  Painted(scope.chart);
  EXPECT_TRUE(scope.chart.BottomAxis().IsVisible());
  EXPECT_TRUE(scope.chart.LeftAxis().IsVisible());
  EXPECT_FALSE(scope.chart.TopAxis().IsVisible());
  EXPECT_FALSE(scope.chart.RightAxis().IsVisible());
  EXPECT_FALSE(scope.chart.DepthAxis().IsVisible());
  // The bottom axis takes a text line plus the axis pen and ticks; the left one its widest
  // label plus the same.
  scope.chart.Canvas().Font() = scope.chart.BottomAxis().LabelsFont();
  const int lineHeight = scope.chart.Canvas().LineHeight();
  const TRect plot = scope.chart.PlotRect;
  EXPECT_EQ(plot.Bottom, 233 - lineHeight - 2 - 4);
  EXPECT_GT(plot.Left, 6);
  EXPECT_EQ(plot.Top, 7);
  EXPECT_EQ(plot.Right, 381);
  // Axis pixels follow the new plot.
  EXPECT_EQ(scope.chart.LeftAxis().PixelStart(), plot.Top);
  EXPECT_EQ(scope.chart.LeftAxis().PixelEnd(), plot.Bottom);
  EXPECT_EQ(scope.chart.BottomAxis().PixelStart(), plot.Left);
}

// Rows (or columns) where the grid draws its dots inside the plot.
std::vector<int> GridRows(const QImage& image, const TRect& plot) {
  std::vector<int> rows;
  for (int y = plot.Top + 1; y < plot.Bottom; ++y) {
    int grey = 0;
    for (int x = plot.Left + 1; x < plot.Right; ++x)
      grey += PixelAt(image, x, y) == clGray;
    if (grey > plot.Width() / 4) rows.push_back(y);
  }
  return rows;
}

TEST(ChartPanel, VoltageGridAtEveryLabelButTheBottomEnd) {
  OscilloscopeChart scope(389, 233);
  const QImage& image = Painted(scope.chart);
  const TChartAxis& left = scope.chart.LeftAxis();
  const std::vector<int> rows = GridRows(image, scope.chart.PlotRect);
  // Step 5 on -25 .. 25: grid lines at 25 (on the frame, so not counted inside) down to -20.
  std::vector<int> expected;
  for (int v = 20; v >= -20; v -= 5)
    expected.push_back(left.ValueToPixel(v));
  EXPECT_EQ(rows, expected);
}

TEST(ChartPanel, ATickOfLengthFourCoversFourPixels) {
  OscilloscopeChart scope(389, 233);
  const QImage& image = Painted(scope.chart);
  const TChartAxis& left = scope.chart.LeftAxis();
  const int y = left.ValueToPixel(0);
  const int x0 = left.AxisLinePos() - 1;
  for (int x = x0; x > x0 - 4; --x)
    EXPECT_EQ(PixelAt(image, x, y), clGray) << x;
  EXPECT_NE(PixelAt(image, x0 - 4, y), clGray);
}

TEST(ChartPanel, CleanImageIsOnlyCopied) {
  OscilloscopeChart scope(389, 233);
  Painted(scope.chart);
  EXPECT_FALSE(scope.chart.BufferDirty());
  const QImage* image = scope.chart.BufferImage();
  // A change marks the image dirty; a paint of the same size reuses the image.
  scope.chart.LeftAxis().SetMinimum(-20);
  EXPECT_TRUE(scope.chart.BufferDirty());
  Painted(scope.chart);
  EXPECT_EQ(scope.chart.BufferImage(), image);
  // Setting a value it already has asks for nothing.
  scope.chart.LeftAxis().SetMinimum(-20);
  scope.chart.SetMarginRight(2);
  scope.chart.Gradient().SetVisible(true);
  EXPECT_FALSE(scope.chart.BufferDirty());
  // A new size rebuilds the image at the next paint.
  scope.chart.resize(300, 200);
  Painted(scope.chart);
  EXPECT_EQ(scope.chart.BufferImage()->size(), QSize(300, 200));
}

// Counts the paints a widget really receives from the event loop.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST(ChartPanel, ThousandAppendsMakeOnePaint) {
  OscilloscopeChart scope(389, 233);
  PaintCounter counter;
  scope.chart.installEventFilter(&counter);
  scope.chart.show();
  for (int i = 0; i < 100 && counter.paints == 0; ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_GT(counter.paints, 0);  // the probe sees the first paint
  counter.paints = 0;
  for (int i = 0; i < 1000; ++i)
    scope.Series1().AppendPoint(i * 0.025, 1);
  EXPECT_TRUE(scope.chart.BufferDirty());
  EXPECT_EQ(counter.paints, 0);  // nothing drawn before the event loop runs
  QCoreApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
  EXPECT_FALSE(scope.chart.BufferDirty());
}

// The empty screens at both sizes: green at the top of the plot, near-white at the bottom.
TEST(ChartPanel, EmptyScreensShadeFromGreenToWhite) {
  for (QSize size : {QSize(389, 233), QSize(1520, 760)}) {
    OscilloscopeChart scope(size.width(), size.height());
    const QImage& image = Painted(scope.chart);
    const TRect plot = scope.chart.PlotRect;
    const TColor top = PixelAt(image, plot.Left + 3, plot.Top + 2);
    const TColor bottom = PixelAt(image, plot.Left + 3, plot.Bottom - 2);
    EXPECT_LT(top & 0xFF, 0x60u) << size.width();     // red low near the top (0x40 at the very top)
    EXPECT_GT(bottom & 0xFF, 0xE0u) << size.width();  // near-white near the bottom
  }
}

// A grab of the widget through its paint event into a pixmap of `ratio` device pixels per
// logical pixel, as a window system shows it on such a screen.
QImage GrabAt(QWidget& widget, int ratio) {
  QPixmap pixmap(widget.size() * ratio);
  pixmap.setDevicePixelRatio(ratio);
  widget.render(&pixmap);
  return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// At 2× the layout stays, background, frame and grid cover exactly the blocks of their 1×
// pixels, and the labels are drawn at the device's density: an enlarged 1× image would have
// only one-colour 2 × 2 blocks there.
TEST(ChartPanel, TwiceDenseGrabDoublesShapesAndDrawsLabelsAtFullDensity) {
  OscilloscopeChart scope(389, 233);
  const QImage once = GrabAt(scope.chart, 1);
  const TRect p = scope.chart.PlotRect;
  const QImage twice = GrabAt(scope.chart, 2);
  ASSERT_EQ(twice.size(), once.size() * 2);
  EXPECT_EQ(scope.chart.PlotRect, p);
  const QRect plot2(2 * p.Left, 2 * p.Top, 2 * p.Width(), 2 * p.Height());
  EXPECT_EQ(twice.copy(plot2), once.scaled(once.size() * 2).copy(plot2));

  int dark = 0, mixed = 0;
  for (const TRect& labels : {TRect{3, p.Top + 4, p.Left - 4, p.Bottom - 4},
                              TRect{p.Left + 4, p.Bottom + 2, p.Right - 4, 230}}) {
    for (int y = labels.Top; y < labels.Bottom; ++y) {
      for (int x = labels.Left; x < labels.Right; ++x) {
        dark += qGray(once.pixel(x, y)) < 96 ? 1 : 0;
        const QRgb c = twice.pixel(2 * x, 2 * y);
        mixed += twice.pixel(2 * x + 1, 2 * y) != c || twice.pixel(2 * x, 2 * y + 1) != c ||
                 twice.pixel(2 * x + 1, 2 * y + 1) != c;
      }
    }
  }
  ASSERT_GT(dark, 100);
  EXPECT_GT(mixed, dark / 2);
  EXPECT_EQ(GrabAt(scope.chart, 1), once);  // back at 1×, the same pixels
}

// An axis title reads along its axis in the middle of a band of its own beyond the labels, in
// its font's colour: the plot gives that band up.
TEST(ChartPanel, AxisTitlesReadAlongTheirAxesBeyondTheLabels) {
  constexpr TColor kInk = 0x82004B;
  const struct {
    TChartAxis& (TChart::*axis)();
    TVertAxis vertical;
    int angle;
  } rows[] = {{&TChart::RightAxis, aRightAxis, 270},
              {&TChart::LeftAxis, aLeftAxis, 90},
              {&TChart::BottomAxis, aLeftAxis, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.angle);
    OscilloscopeChart scope(389, 233);
    TFastLineSeries current;
    current.SetSeriesColor(clRed);
    current.SetParentChart(&scope.chart);
    current.SetVertAxis(row.vertical);
    current.AppendPoint(0, 1);
    current.AppendPoint(25, -1);
    scope.chart.RightAxis().SetAxisRange(-2.5, 2.5);
    Painted(scope.chart);  // the labels' room takes the step of the layout before
    const QImage before = Painted(scope.chart);
    const TRect plot = scope.chart.PlotRect;
    TChartAxis& axis = (scope.chart.*row.axis)();
    axis.Title.SetCaption(QStringLiteral("courant (A)"));
    axis.Title.SetAngle(row.angle);
    TCanvasFont font = axis.LabelsFont();
    font.Color = kInk;
    axis.Title.SetFont(font);
    const QImage& image = Painted(scope.chart);
    scope.chart.Canvas().Font() = font;
    const int room = scope.chart.Canvas().LineHeight();
    // The band: beside the plot's side on the axis's side, one text line deep.
    const TRect& now = scope.chart.PlotRect;
    QRect band;
    if (row.angle == 270) {
      EXPECT_EQ(now.Right, plot.Right - room);
      band = QRect(axis.TitlePos(), now.Top, room, now.Height());
    } else if (row.angle == 90) {
      EXPECT_EQ(now.Left, plot.Left + room);
      band = QRect(axis.TitlePos() - room, now.Top, room, now.Height());
    } else {
      EXPECT_EQ(now.Bottom, plot.Bottom - room);
      band = QRect(now.Left, axis.TitlePos(), now.Width(), room);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (p != before.pixel(x, y) && qBlue(p) > qGreen(p) + 40 && qRed(p) < qBlue(p))
          ink |= QRect(x, y, 1, 1);
      }
    }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(band.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    if (row.angle == 0) {
      EXPECT_GT(ink.width(), 3 * ink.height());
      EXPECT_NEAR(ink.center().x(), axis.PixelCenter(), 3);
    } else {
      EXPECT_GT(ink.height(), 3 * ink.width());
      EXPECT_NEAR(ink.center().y(), axis.PixelCenter(), 3);
    }
  }
}

// What a window draws after the series lies over the traces and under the zoom rectangle, so
// that dragging the rectangle over it inverts and restores it cleanly.
TEST(ChartPanel, AfterSeriesHookComesBetweenTheTracesAndTheZoomRectangle) {
  OscilloscopeChart scope(389, 233);
  TChart& chart = scope.chart;
  scope.Series1().AppendPoint(0, 0);
  scope.Series1().AppendPoint(25, 0);
  std::vector<std::string> order;
  chart.OnBeforeDrawSeries = [&](TCustomAxisPanel*) { order.emplace_back("before series"); };
  chart.OnAfterDrawSeries = [&](TCustomAxisPanel*) {
    order.emplace_back("after series");
    TChartCanvas3D& canvas = chart.Canvas();
    canvas.Pen() = TCanvasPen{clWhite, psClear};
    canvas.Brush() = TCanvasBrush{clWhite, bsSolid};
    canvas.FillSolid({100, 80, 200, 150});  // over the red trace at 0 V
  };
  chart.OnAfterDraw = [&](TCustomAxisPanel*) { order.emplace_back("after"); };
  Painted(chart);
  const int zero = chart.LeftAxis().ValueToPixel(0);
  EXPECT_EQ(order, (std::vector<std::string>{"before series", "after series", "after"}));
  EXPECT_EQ(PixelAt(*chart.BufferImage(), 150, zero), clWhite);
  EXPECT_EQ(PixelAt(*chart.BufferImage(), 90, zero), clRed);
  chart.ZoomState.BeginTracking(120, 100);
  chart.ZoomState.EndX = 180;
  chart.ZoomState.EndY = 200;
  const QImage& image = Painted(chart);
  EXPECT_NE(PixelAt(image, 120, 120), clWhite);  // the rectangle's edge, inverted over the fill
  EXPECT_EQ(PixelAt(image, 150, 120), clWhite);
}

}  // namespace
