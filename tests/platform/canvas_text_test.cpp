// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QFontInfo>
#include <QPainter>

#include "test_support.h"

namespace {

class CanvasText : public GuiTest {};

TEST_F(CanvasText, FontAndExtents) {
  TCanvas canvas;  // measuring needs no image
  EXPECT_EQ(QFontInfo(canvas.CurrentQFont()).family(), "Liberation Sans");  // for "Arial"
  // The labels' line height: ascent 9.95 and descent 2.33 each rounded up, as Windows measures
  // 8-point Arial.
  EXPECT_EQ(canvas.TextHeight("W"), 13);
  EXPECT_EQ(canvas.TextWidth(""), 0);
  EXPECT_EQ(canvas.TextWidth("2525"), 2 * canvas.TextWidth("25"));
  const int plain = canvas.TextWidth("bbbb");
  canvas.Font.Bold = true;
  EXPECT_GT(canvas.TextWidth("bbbb"), plain);
  for (const auto& [points, pixels] : {std::pair{8, 11}, {9, 12}, {10, 13}, {12, 16}, {6, 8}}) {
    canvas.Font.Size = points;
    EXPECT_EQ(canvas.CurrentQFont().pixelSize(), pixels) << points << " points";
  }
}

TEST_F(CanvasText, InkLiesInTheBoxTheFlagsPlace) {
  const struct {
    int align;
    int halfWidths;  // the box's left edge lies at x - w * halfWidths / 2
    bool bottom;
  } rows[] = {{taLeft + taTop, 0, false},    {taRight + taTop, 2, false},
              {taCenter + taTop, 1, false},  {taLeft + taBottom, 0, true},
              {taRight + taBottom, 2, true}, {taCenter + taBottom, 1, true}};
  const QString text = "Wg-25";
  for (const auto& row : rows) {
    int w = 0, h = 0;
    const QImage image = Paint(120, 50, [&](TCanvas& c) {
      c.BackgroundMode = bkTransparent;
      c.TextAlign = row.align;
      w = c.TextWidth(text);
      h = c.TextHeight(text);
      c.TextOut(60, 25, text);
    });
    const TRect box{60 - w * row.halfWidths / 2, row.bottom ? 25 - h : 25, 0, 0};
    const TRect ink = InkBox(image, clWhite);
    // Inside the box, and filling it but for the side bearings and the room above capitals.
    EXPECT_TRUE(ink.Left >= box.Left && ink.Right <= box.Left + w && w - ink.Width() <= 3)
        << "align " << row.align << ": ink " << ink.Left << ".." << ink.Right;
    EXPECT_TRUE(ink.Top >= box.Top && ink.Bottom <= box.Top + h && h - ink.Height() <= 3)
        << "align " << row.align << ": ink " << ink.Top << ".." << ink.Bottom;
  }
}

TEST_F(CanvasText, BackgroundBoxAndClip) {
  TRect box;
  const auto text = [&](TBackgroundMode mode, TRect clip) {
    return Paint(
        60, 20,
        [&](TCanvas& c) {
          c.BackgroundMode = mode;
          c.BackgroundColor = clRed;
          c.Font.Color = clBlue;
          c.IntersectClipRect(clip);
          c.TextOut(10, 5, "Wg");
          box = {10, 5, 10 + c.TextWidth("Wg"), 5 + c.TextHeight("Wg")};
        },
        clGreen);
  };
  const QImage opaque = text(bkOpaque, {0, 0, 60, 20});
  EXPECT_EQ(PixelsNotOf(opaque, clGreen), BoxPixels(box));
  const QImage clipped = text(bkOpaque, {0, 0, 15, 20});
  EXPECT_EQ(PixelsNotOf(clipped, clGreen), BoxPixels({10, 5, 15, box.Bottom}));
  const QImage clear = text(bkTransparent, {0, 0, 60, 20});
  int blue = 0;  // blue ink blended over green: never any red
  for (const auto& [x, y] : PixelsNotOf(clear, clGreen)) {
    ASSERT_EQ(qRed(clear.pixel(x, y)), 0) << x << "," << y;
    blue = std::max(blue, qBlue(clear.pixel(x, y)));
  }
  EXPECT_GT(blue, 200);
}

TEST_F(CanvasText, OpenPainterFollowsFontTargetAndCopies) {
  QImage first = Filled(60, 60, clWhite);
  QImage second = Filled(60, 60, clWhite);
  {
    TCanvas canvas(&first);
    canvas.BackgroundMode = bkTransparent;
    canvas.TextOut(0, 0, "H");
    const QImage copy = first;  // taken while the painter is open
    const QImage snapshot = first.copy();
    canvas.Font.Size = 24;
    canvas.TextOut(0, 20, "H");
    canvas.LineTo(60, 0);
    EXPECT_EQ(copy, snapshot);
    const int small = InkBox(first.copy(0, 1, 60, 19), clWhite).Height();
    EXPECT_GE(small, 7);
    EXPECT_GE(InkBox(first.copy(0, 20, 60, 40), clWhite).Height(), 2 * small);

    canvas.SetTarget(nullptr);
    EXPECT_TRUE(QPainter().begin(&first));  // the canvas has let go of it
    canvas.SetTarget(&second);
    canvas.TextOut(0, 0, "H");
  }
  EXPECT_FALSE(PixelsNotOf(second, clWhite).empty());
  QPainter painter;
  EXPECT_TRUE(painter.begin(&second));  // ... and of this one when it died
}

TEST(CanvasTextWithoutGui, MeasuresZeroAndDrawsNothing) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QImage image = Filled(40, 20, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundColor = clRed;
  EXPECT_EQ(canvas.TextWidth("W"), 0);
  EXPECT_EQ(canvas.TextHeight("W"), 0);
  canvas.TextOut(0, 0, "W");
  int argc = 1;
  char name[] = "core";
  char* argv[] = {name, nullptr};
  const QCoreApplication core(argc, argv);  // an application, but still no fonts
  EXPECT_EQ(canvas.TextWidth("W"), 0);
  canvas.TextOut(0, 0, "W");
  EXPECT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
}

}  // namespace
