#include <gtest/gtest.h>

#include <string>

#include "pixels.h"
#include "platform/canvas.h"

namespace {

const std::map<TColor, char> kLegend = {
    {clWhite, '.'}, {clBlack, '#'}, {clRed, 'R'}, {clGreen, 'G'}};

struct RectangleRow {
  const char* name;
  TPenStyle pen;
  TBrushStyle brush;
  TPoint corner0, corner1;
  const char* picture;
};

void PrintTo(const RectangleRow& row, std::ostream* os) {
  *os << row.name;
}

class CanvasRectangle : public testing::TestWithParam<RectangleRow> {};

TEST_P(CanvasRectangle, OutlineAndInsideLandOnTheirPixels) {
  const RectangleRow row = GetParam();
  QImage image = Filled(8, 6, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = row.pen;
  canvas.Brush.Style = row.brush;
  canvas.Brush.Color = clRed;
  canvas.Rectangle(row.corner0.X, row.corner0.Y, row.corner1.X, row.corner1.Y);
  EXPECT_EQ(Picture(image, kLegend), row.picture);
}

INSTANTIATE_TEST_SUITE_P(Rows, CanvasRectangle,
                         testing::Values(RectangleRow{"PenAndBrush",
                                                      psSolid,
                                                      bsSolid,
                                                      {1, 1},
                                                      {6, 5},
                                                      "........\n"
                                                      ".#####..\n"
                                                      ".#RRR#..\n"
                                                      ".#RRR#..\n"
                                                      ".#####..\n"
                                                      "........\n"},
                                         RectangleRow{"CornersSwapped",
                                                      psSolid,
                                                      bsSolid,
                                                      {6, 5},
                                                      {1, 1},
                                                      "........\n"
                                                      ".#####..\n"
                                                      ".#RRR#..\n"
                                                      ".#RRR#..\n"
                                                      ".#####..\n"
                                                      "........\n"},
                                         RectangleRow{"ClearPenFillsToRightMinusOne",
                                                      psClear,
                                                      bsSolid,
                                                      {1, 1},
                                                      {6, 5},
                                                      "........\n"
                                                      ".RRRR...\n"
                                                      ".RRRR...\n"
                                                      ".RRRR...\n"
                                                      "........\n"
                                                      "........\n"},
                                         RectangleRow{"ClearBrushOutlineOnly",
                                                      psSolid,
                                                      bsClear,
                                                      {1, 1},
                                                      {6, 5},
                                                      "........\n"
                                                      ".#####..\n"
                                                      ".#...#..\n"
                                                      ".#...#..\n"
                                                      ".#####..\n"
                                                      "........\n"},
                                         RectangleRow{"OneColumn",
                                                      psSolid,
                                                      bsSolid,
                                                      {2, 1},
                                                      {3, 5},
                                                      "........\n"
                                                      "..#.....\n"
                                                      "..#.....\n"
                                                      "..#.....\n"
                                                      "..#.....\n"
                                                      "........\n"},
                                         RectangleRow{"EmptyDrawsNothing",
                                                      psSolid,
                                                      bsSolid,
                                                      {2, 1},
                                                      {2, 5},
                                                      "........\n"
                                                      "........\n"
                                                      "........\n"
                                                      "........\n"
                                                      "........\n"
                                                      "........\n"}),
                         [](const testing::TestParamInfo<RectangleRow>& info) {
                           return std::string(info.param.name);
                         });

TEST(CanvasRectangleOutline, DottedPatternRunsOnAroundTheCorners) {
  QImage image = Filled(7, 5, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = psDot;
  canvas.Brush.Style = bsClear;
  canvas.BackgroundColor = clRed;
  canvas.Rectangle(0, 0, 6, 4);
  EXPECT_EQ(Picture(image, kLegend),
            "##RR##.\n"
            "R....R.\n"
            "R....R.\n"
            "##RR##.\n"
            ".......\n");
}

// The outline's pixels for a pen of `width`: a square around every pixel of the four edges.
PixelSet ReferenceOutline(const TRect& r, int width) {
  PixelSet pixels;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Left; x < r.Right; ++x) {
      if (x != r.Left && x != r.Right - 1 && y != r.Top && y != r.Bottom - 1) continue;
      for (int dy = -(width - 1) / 2; dy <= width / 2; ++dy) {
        for (int dx = -(width - 1) / 2; dx <= width / 2; ++dx)
          pixels.insert({x + dx, y + dy});
      }
    }
  }
  return pixels;
}

TEST(CanvasRectangleOutline, NotXorWritesEachPixelOnceAndTwiceRestores) {
  const TPoint sizes[] = {{1, 1}, {1, 5}, {5, 1}, {2, 2}, {3, 3}, {6, 4}, {9, 2}};
  for (const TPoint size : sizes) {
    for (int width = 1; width <= 4; ++width) {
      QImage image = Filled(20, 16, clWhite);
      TCanvas canvas(&image);
      canvas.Pen.Mode = pmNotXor;  // black over white gives black; a second write, white
      canvas.Pen.Width = width;
      canvas.Brush.Style = bsClear;
      const TRect r{6, 5, 6 + size.X, 5 + size.Y};
      canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
      ASSERT_EQ(PixelsNotOf(image, clWhite), ReferenceOutline(r, width))
          << size.X << " x " << size.Y << ", width " << width;
      ASSERT_EQ(PixelsNotOf(image, clBlack).size() + ReferenceOutline(r, width).size(), 20u * 16u);
      canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
      ASSERT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
    }
  }
}

TEST(CanvasFillRect, FillsWidthTimesHeightPixels) {
  QImage image = Filled(6, 4, clWhite);
  TCanvas canvas(&image);
  canvas.Brush.Color = clRed;
  canvas.FillRect({2, 1, 5, 3});
  canvas.FillRect({4, 3, 4, 4});  // empty
  canvas.FillRect({3, 3, 1, 4});  // inverted
  EXPECT_EQ(Picture(image, kLegend),
            "......\n"
            "..RRR.\n"
            "..RRR.\n"
            "......\n");
  canvas.Brush.Style = bsClear;
  canvas.Brush.Color = clBlack;
  canvas.FillRect({0, 0, 6, 4});
  EXPECT_EQ(PixelsOf(image, clBlack), PixelSet{});
}

TEST(CanvasFillRect, EverySpanLengthAndOffsetIsExact) {
  // Long runs are written in blocks; every length must still end on the right pixel.
  for (int left = 0; left < 9; ++left) {
    for (int width = 1; left + width <= 75; ++width) {
      QImage image = Filled(75, 3, clWhite);
      TCanvas canvas(&image);
      canvas.Brush.Color = clRed;
      canvas.FillRect({left, 1, left + width, 2});
      PixelSet expected;
      for (int x = left; x < left + width; ++x) expected.insert({x, 1});
      ASSERT_EQ(PixelsNotOf(image, clWhite), expected) << left << " + " << width;
      canvas.FillRect({0, 0, 75, 3});  // whole rows: one run through all three
      ASSERT_EQ(PixelsNotOf(image, clRed), PixelSet{});
    }
  }
}

struct HatchRow {
  const char* name;
  TBrushStyle style;
  const char* tile;  // the 8 × 8 tile at the image's origin
};

void PrintTo(const HatchRow& row, std::ostream* os) {
  *os << row.name;
}

class CanvasHatch : public testing::TestWithParam<HatchRow> {};

TEST_P(CanvasHatch, TileIsPinnedToTheImageOrigin) {
  const HatchRow row = GetParam();
  QImage image = Filled(16, 16, clGreen);
  TCanvas canvas(&image);
  canvas.Brush.Style = row.style;
  canvas.Brush.Color = clBlack;
  canvas.BackgroundColor = clWhite;
  canvas.BackgroundMode = bkOpaque;
  canvas.FillRect({0, 0, 16, 16});
  EXPECT_EQ(Picture(image.copy(0, 0, 8, 8), kLegend), row.tile);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(ColorAt(image, x, y), ColorAt(image, x % 8, y % 8));
  }

  // A fill that starts elsewhere keeps the same tile grid; transparent gaps stay green.
  QImage offset = Filled(16, 16, clGreen);
  TCanvas second(&offset);
  second.Brush = canvas.Brush;
  second.BackgroundMode = bkTransparent;
  second.FillRect({3, 5, 14, 16});
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 3 && x < 14 && y >= 5;
      const bool line = ColorAt(image, x, y) == clBlack;
      ASSERT_EQ(ColorAt(offset, x, y), inside && line ? clBlack : clGreen) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, CanvasHatch,
                         testing::Values(HatchRow{"Horizontal", bsHorizontal,
                                                  "########\n"
                                                  "........\n"
                                                  "........\n"
                                                  "........\n"
                                                  "........\n"
                                                  "........\n"
                                                  "........\n"
                                                  "........\n"},
                                         HatchRow{"Vertical", bsVertical,
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"},
                                         HatchRow{"FDiagonal", bsFDiagonal,
                                                  "#.......\n"
                                                  ".......#\n"
                                                  "......#.\n"
                                                  ".....#..\n"
                                                  "....#...\n"
                                                  "...#....\n"
                                                  "..#.....\n"
                                                  ".#......\n"},
                                         HatchRow{"BDiagonal", bsBDiagonal,
                                                  "#.......\n"
                                                  ".#......\n"
                                                  "..#.....\n"
                                                  "...#....\n"
                                                  "....#...\n"
                                                  ".....#..\n"
                                                  "......#.\n"
                                                  ".......#\n"},
                                         HatchRow{"Cross", bsCross,
                                                  "########\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"
                                                  "#.......\n"},
                                         HatchRow{"DiagCross", bsDiagCross,
                                                  "#.......\n"
                                                  ".#.....#\n"
                                                  "..#...#.\n"
                                                  "...#.#..\n"
                                                  "....#...\n"
                                                  "...#.#..\n"
                                                  "..#...#.\n"
                                                  ".#.....#\n"}),
                         [](const testing::TestParamInfo<HatchRow>& info) {
                           return std::string(info.param.name);
                         });

TEST(CanvasHatchInRectangle, InsideOfARectangleUsesTheHatchedBrush) {
  QImage image = Filled(10, 10, clGreen);
  TCanvas canvas(&image);
  canvas.Pen.Style = psClear;
  canvas.Brush.Style = bsVertical;
  canvas.Brush.Color = clBlack;
  canvas.BackgroundColor = clRed;
  canvas.Rectangle(0, 0, 10, 3);
  EXPECT_EQ(Picture(image.copy(0, 0, 10, 3), kLegend),
            "#RRRRRRR#G\n"
            "#RRRRRRR#G\n"
            "GGGGGGGGGG\n");
}

TEST(CanvasClip, FillsStayInsideTheIntersectionOfClips) {
  QImage image = Filled(10, 8, clWhite);
  TCanvas canvas(&image);
  canvas.Brush.Color = clRed;
  canvas.IntersectClipRect({1, 1, 7, 6});
  canvas.IntersectClipRect({3, -5, 20, 4});
  EXPECT_TRUE(canvas.HasClip());
  EXPECT_EQ(canvas.ClipRect(), (TRect{3, 1, 7, 4}));
  canvas.FillRect({0, 0, 10, 8});
  EXPECT_EQ(Picture(image, kLegend),
            "..........\n"
            "...RRRR...\n"
            "...RRRR...\n"
            "...RRRR...\n"
            "..........\n"
            "..........\n"
            "..........\n"
            "..........\n");

  canvas.IntersectClipRect({8, 0, 10, 8});  // disjoint: nothing left to draw on
  canvas.Brush.Color = clBlack;
  canvas.FillRect({0, 0, 10, 8});
  canvas.Rectangle(0, 0, 10, 8);
  EXPECT_EQ(PixelsOf(image, clBlack), PixelSet{});

  canvas.RemoveClip();
  EXPECT_FALSE(canvas.HasClip());
  canvas.FillRect({0, 0, 10, 8});
  EXPECT_EQ(PixelsNotOf(image, clBlack), PixelSet{});
}

}  // namespace
