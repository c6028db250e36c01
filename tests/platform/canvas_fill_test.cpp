// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

namespace {

TEST(CanvasRectangle, OutlineAndInsideLandOnTheirPixels) {
  const struct {
    TPenStyle pen;
    TBrushStyle brush;
    TRect corners;
    const char* picture;
  } rows[] = {
      {psSolid, bsSolid, {1, 1, 6, 4}, "......./.#####./.#RRR#./.#####./......."},
      {psSolid, bsSolid, {6, 4, 1, 1}, "......./.#####./.#RRR#./.#####./......."},
      {psClear, bsSolid, {1, 1, 6, 4}, "......./.RRRR../.RRRR../......./......."},
      {psSolid, bsClear, {1, 1, 6, 4}, "......./.#####./.#...#./.#####./......."},
      {psSolid, bsSolid, {2, 1, 3, 4}, "......./..#..../..#..../..#..../......."},
      {psSolid, bsSolid, {2, 1, 2, 4}, "......./......./......./......./......."},
  };
  for (const auto& row : rows) {
    const QImage image = Paint(7, 5, [&](TCanvas& c) {
      c.Pen.Style = row.pen;
      c.Brush = {clRed, row.brush};
      c.Rectangle(row.corners.Left, row.corners.Top, row.corners.Right, row.corners.Bottom);
    });
    EXPECT_EQ(Picture(image), row.picture) << row.picture;
  }
  const QImage dotted = Paint(7, 5, [](TCanvas& c) {
    c.Pen.Style = psDot;  // clockwise from the top-left corner, running on around the corners
    c.Brush.Style = bsClear;
    c.BackgroundColor = clRed;
    c.Rectangle(0, 0, 6, 4);
  });
  EXPECT_EQ(Picture(dotted), "##RR##./R....R./R....R./##RR##./.......");
}

// The outline of a pen of `width`: a square around every pixel of the four edges.
PixelSet ReferenceOutline(const TRect& r, int width) {
  PixelSet pixels;
  for (const auto& [x, y] : BoxPixels(r)) {
    if (x != r.Left && x != r.Right - 1 && y != r.Top && y != r.Bottom - 1) continue;
    const PixelSet square =
        BoxPixels({x - (width - 1) / 2, y - (width - 1) / 2, x + width / 2 + 1, y + width / 2 + 1});
    pixels.insert(square.begin(), square.end());
  }
  return pixels;
}

TEST(CanvasRectangle, NotXorOutlineWritesEachPixelOnce) {
  // Black in not-xor mode turns white pixels black, and back to white when written twice.
  for (const TPoint size : {TPoint{1, 1}, {1, 5}, {5, 1}, {2, 2}, {3, 3}, {6, 4}, {9, 2}}) {
    for (int width = 1; width <= 4; ++width) {
      const TRect r{6, 5, 6 + size.X, 5 + size.Y};
      QImage image = Filled(20, 16, clWhite);
      TCanvas canvas(&image);
      canvas.Pen = {clBlack, psSolid, width, pmNotXor, false};
      canvas.Brush.Style = bsClear;
      canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
      ASSERT_EQ(PixelsOf(image, clBlack), ReferenceOutline(r, width))
          << size.X << " x " << size.Y << ", width " << width;
      canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
      ASSERT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
    }
  }
}

TEST(CanvasFillRect, FillsExactlyItsRectangle) {
  // Long runs are written in blocks; every length must still end on the right pixel.
  for (int left = 0; left < 9; ++left) {
    for (int width = 1; left + width <= 75; ++width) {
      const QImage image = Paint(75, 3, [&](TCanvas& c) {
        c.Brush.Color = clRed;
        c.FillRect({left, 1, left + width, 2});
      });
      ASSERT_EQ(PixelsNotOf(image, clWhite), BoxPixels({left, 1, left + width, 2})) << left;
    }
  }
  const QImage whole = Paint(75, 3, [](TCanvas& c) {
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 75, 3});  // whole rows: one run through the image
    c.Brush.Color = clBlack;
    c.FillRect({4, 0, 4, 3});  // empty
    c.FillRect({5, 2, 3, 3});  // inverted
    c.Brush.Style = bsClear;
    c.FillRect({0, 0, 75, 3});
  });
  EXPECT_EQ(PixelsNotOf(whole, clRed), PixelSet{});
}

TEST(CanvasHatch, TilesArePinnedToTheImageOrigin) {
  const struct {
    TBrushStyle style;
    const char* tile;
  } rows[] = {
      {bsHorizontal, "########/......../......../......../......../......../......../........"},
      {bsVertical, "#......./#......./#......./#......./#......./#......./#......./#......."},
      {bsFDiagonal, "#......./.......#/......#./.....#../....#.../...#..../..#...../.#......"},
      {bsBDiagonal, "#......./.#....../..#...../...#..../....#.../.....#../......#./.......#"},
      {bsCross, "########/#......./#......./#......./#......./#......./#......./#......."},
      {bsDiagCross, "#......./.#.....#/..#...#./...#.#../....#.../...#.#../..#...#./.#.....#"},
  };
  for (const auto& row : rows) {
    const auto fill = [&](TRect rect, TBackgroundMode mode) {
      return Paint(
          19, 17,
          [&](TCanvas& c) {
            c.Brush = {clBlack, row.style};
            c.BackgroundColor = clWhite;
            c.BackgroundMode = mode;
            c.FillRect(rect);
          },
          clGreen);
    };
    const QImage full = fill({0, 0, 19, 17}, bkOpaque);
    EXPECT_EQ(Picture(full.copy(0, 0, 8, 8)), row.tile);
    // Elsewhere the same grid shows through, and transparent gaps keep the image.
    const QImage part = fill({3, 5, 14, 17}, bkTransparent);
    for (int y = 0; y < 17; ++y) {
      for (int x = 0; x < 19; ++x) {
        const bool line = ColorAt(full, x % 8, y % 8) == clBlack;
        ASSERT_EQ(ColorAt(full, x, y), line ? clBlack : clWhite) << x << "," << y;
        const bool inside = x >= 3 && x < 14 && y >= 5;
        ASSERT_EQ(ColorAt(part, x, y), inside && line ? clBlack : clGreen) << x << "," << y;
      }
    }
  }
}

TEST(CanvasClip, DrawingStaysInsideTheIntersectionOfClips) {
  QImage image = Filled(10, 6, clWhite);
  TCanvas canvas(&image);
  canvas.IntersectClipRect({1, 1, 7, 6});
  canvas.IntersectClipRect({3, -5, 20, 4});
  EXPECT_EQ(canvas.ClipRect(), (TRect{3, 1, 7, 4}));
  canvas.Rectangle(0, 0, 10, 6);  // outline outside, white brush inside
  EXPECT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
  canvas.Brush.Color = clRed;
  canvas.FillRect({0, 0, 10, 6});
  EXPECT_EQ(PixelsNotOf(image, clWhite), BoxPixels({3, 1, 7, 4}));
  canvas.IntersectClipRect({8, 0, 10, 6});  // disjoint: nothing left to draw on
  canvas.LineTo(10, 6);
  EXPECT_EQ(PixelsOf(image, clBlack), PixelSet{});
  canvas.RemoveClip();
  canvas.FillRect({0, 0, 10, 6});
  EXPECT_EQ(PixelsNotOf(image, clRed), PixelSet{});
}

TEST(CanvasDraw, CopiesTheBlockExactly) {
  const QImage source = Noise(5, 4, QImage::Format_RGB32, 1);
  const QImage placed = Paint(8, 6, [&](TCanvas& c) {
    c.IntersectClipRect({0, 0, 1, 1});  // ignored, as is the pen mode
    c.Pen.Mode = pmNotXor;
    c.Draw(-2, 3, source);
  });
  EXPECT_EQ(placed.copy(0, 3, 3, 3), source.copy(2, 0, 3, 3));
  EXPECT_EQ(PixelsNotOf(placed, clWhite).size(), 9u);

  const QImage packed = Noise(3, 3, QImage::Format_RGB888, 2);
  const QImage converted = Paint(5, 5, [&](TCanvas& c) { c.Draw(1, 2, packed); });
  EXPECT_EQ(converted.copy(1, 2, 3, 3), packed.convertToFormat(QImage::Format_RGB32));

  QImage image = Noise(6, 5, QImage::Format_RGB32, 3);
  const QImage before = image.copy();
  TCanvas(&image).Draw(1, 1, image);  // its own pixels, overlapping
  EXPECT_EQ(image.copy(1, 1, 5, 4), before.copy(0, 0, 5, 4));
}

TEST(CanvasTarget, DrawingNeedsAnImageAndRespectsCopies) {
  TCanvas none;
  none.Rectangle(0, 0, 4, 4);
  none.LineTo(5, 6);
  EXPECT_EQ(none.PenPos(), (TPoint{5, 6}));

  QImage image = Filled(6, 6, clWhite);
  TCanvas canvas(&image);
  canvas.LineTo(6, 0);
  const QImage copy = image;  // shares the pixels until one side writes
  canvas.Brush.Color = clRed;
  canvas.FillRect({0, 4, 6, 6});
  EXPECT_EQ(PixelsNotOf(copy, clWhite), BoxPixels({0, 0, 6, 1}));
  EXPECT_EQ(PixelsOf(image, clRed), BoxPixels({0, 4, 6, 6}));

  QImage packed(4, 2, QImage::Format_RGB888);  // converted in place before the first write
  packed.fill(Qt::white);
  canvas.SetTarget(&packed);
  canvas.MoveTo(0, 1);
  canvas.LineTo(4, 1);
  EXPECT_EQ(packed.format(), QImage::Format_RGB32);
  EXPECT_EQ(Picture(packed), "..../####");
}

}  // namespace
