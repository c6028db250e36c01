// SPDX-License-Identifier: GPL-3.0-or-later
// A canvas for a high-density screen: straight shapes land on exactly the blocks of their 1×
// pixels; slanted lines and text gain the device's detail.
#include <functional>

#include "test_support.h"

namespace {

using Draw = std::function<void(TCanvas&)>;

QImage DrawnAt(const QImage& background, int k, const Draw& draw) {
  QImage image = background.scaled(background.size() * k);  // each pixel a k × k block
  TCanvas canvas(&image);
  canvas.SetScale(k);
  draw(canvas);
  canvas.SetTarget(nullptr);
  return image;
}

int MixedBlocks(const QImage& twice) {
  int mixed = 0;
  for (int y = 0; y + 1 < twice.height(); y += 2) {
    for (int x = 0; x + 1 < twice.width(); x += 2) {
      const QRgb c = twice.pixel(x, y);
      mixed += twice.pixel(x + 1, y) != c || twice.pixel(x, y + 1) != c ||
               twice.pixel(x + 1, y + 1) != c;
    }
  }
  return mixed;
}

Draw Shape(TCanvasPen pen, TCanvasBrush brush, TRect r, bool line) {
  return [=](TCanvas& c) {
    c.Pen = pen;
    c.Brush = brush;
    c.BackgroundColor = clGreen;  // opaque gaps
    if (line) {
      c.MoveTo(r.Left, r.Top);
      c.LineTo(r.Right, r.Bottom);
    } else {
      c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
  };
}

TEST(CanvasScale, StraightShapesCoverTheBlocksOfTheirPixels) {
  const TCanvasBrush clear{clBlue, bsClear}, solid{clBlue, bsSolid};
  const Draw shapes[] = {Shape({clRed, psSolid, 1}, clear, {2, 5, 27, 5}, true),
                         Shape({clRed, psSolid, 3}, clear, {12, 26, 12, 2}, true),
                         Shape({clRed, psDashDotDot, 1}, clear, {3, 28, 3, 2}, true),
                         Shape({clRed, psDash, 1, pmNotXor}, clear, {29, 17, 1, 17}, true),
                         Shape({clRed, psSolid, 1, pmCopy, true}, clear, {0, 20, 29, 20}, true),
                         Shape({clRed, psSolid, 2, pmNotXor}, solid, {3, 4, 21, 16}, false),
                         Shape({clRed, psDot, 1}, clear, {2, 3, 26, 25}, false),
                         Shape({clRed, psSolid, 1}, solid, {5, 4, 6, 20}, false),
                         Shape({clRed, psClear, 1}, {clBlue, bsCross}, {1, 2, 28, 27}, false),
                         [](TCanvas& c) {
                           c.IntersectClipRect({5, 6, 19, 23});
                           c.Pen = {clRed, psSolid, 2};
                           const int xs[] = {3, 9, 15}, steps[] = {3, 9, 9}, ys[] = {25, 25, 6};
                           c.VertLines(xs, 3, 0, 30);
                           c.Polyline(steps, ys, 3);
                         }};
  const QImage background = Noise(30, 30, QImage::Format_RGB32, 7);
  for (const int k : {2, 3}) {
    for (std::size_t i = 0; i < std::size(shapes); ++i) {
      const QImage once = DrawnAt(background, 1, shapes[i]);
      ASSERT_NE(once, background) << i;
      EXPECT_EQ(DrawnAt(background, k, shapes[i]), once.scaled(once.size() * k)) << i << " ×" << k;
    }
  }
}

TEST(CanvasScale, SlantedLinesFollowTheDeviceGrid) {
  for (const int width : {1, 2, 3}) {
    const TRect ends{2 + width, 3, 27, 11 + 5 * width};
    const QImage white = Filled(30, 30, clWhite);
    const QImage twice = DrawnAt(white, 2, Shape({clBlack, psSolid, width}, {}, ends, true));
    EXPECT_GT(MixedBlocks(twice), 5) << width;  // no enlarged 1× line
    EXPECT_EQ(ColorAt(twice, 2 * ends.Left + 1, 2 * ends.Top + 1), clBlack);
    // Nothing outside the 1× line one pixel wider on each side.
    const QImage bound =
        DrawnAt(white, 1, Shape({clBlack, psSolid, width + 2}, {}, ends, true)).scaled(60, 60);
    for (const auto& [x, y] : PixelsOf(twice, clBlack))
      ASSERT_EQ(ColorAt(bound, x, y), clBlack) << width << ": " << x << "," << y;
  }
  // Not-xor, drawn twice, restores the image, slanted and patterned lines included.
  const QImage noise = Noise(30, 30, QImage::Format_RGB32, 3);
  const Draw twiceOver = [](TCanvas& c) {
    for (int pass = 0; pass < 2; ++pass) {
      Shape({clRed, psSolid, 2, pmNotXor}, {}, {1, 2, 27, 19}, true)(c);
      Shape({clRed, psDashDot, 1, pmNotXor}, {}, {28, 3, 4, 25}, true)(c);
    }
  };
  EXPECT_EQ(DrawnAt(noise, 2, twiceOver), noise.scaled(60, 60));
}

class CanvasScaleText : public GuiTest {};

TEST_F(CanvasScaleText, TextKeepsItsExtentsAndGainsDetail) {
  const QString text = QStringLiteral("12,5 ms");
  int widths[2] = {}, heights[2] = {};
  QImage images[2];
  for (const int k : {1, 2}) {
    images[k - 1] = DrawnAt(Filled(80, 30, clWhite), k, [&](TCanvas& c) {
      c.BackgroundMode = bkOpaque;
      c.BackgroundColor = clGreen;
      c.TextAlign = taCenter + taBottom;
      c.TextOut(40, 24, text);
      widths[k - 1] = c.TextWidth(text);
      heights[k - 1] = c.TextHeight(text);
    });
  }
  EXPECT_EQ(widths[1], widths[0]);
  EXPECT_EQ(heights[1], heights[0]);
  const TRect box = InkBox(images[0], clWhite);  // the opaque box: exactly its blocks at 2×
  EXPECT_EQ(InkBox(images[1], clWhite),
            (TRect{2 * box.Left, 2 * box.Top, 2 * box.Right, 2 * box.Bottom}));
  EXPECT_GT(MixedBlocks(images[1]), 20);
}

}  // namespace
