#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "pixels.h"
#include "platform/canvas.h"

namespace {

constexpr int kSize = 40;

// The pixels of a one-pixel line straight from its definition: n = the longer extent, pixel i
// at the start plus i / n of the way, each coordinate rounded with halves going up.
std::vector<TPoint> ReferenceLine(TPoint a, TPoint b) {
  const int dx = b.X - a.X;
  const int dy = b.Y - a.Y;
  const int n = std::max(std::abs(dx), std::abs(dy));
  std::vector<TPoint> pixels;
  for (int i = 0; i < n; ++i) {
    pixels.push_back({static_cast<int>(std::floor(a.X + static_cast<double>(i) * dx / n + 0.5)),
                      static_cast<int>(std::floor(a.Y + static_cast<double>(i) * dy / n + 0.5))});
  }
  return pixels;
}

// Every pixel of a width × width square stamped on each reference pixel, inside `area`.
PixelSet ReferenceWideLine(TPoint a, TPoint b, int width, TRect area) {
  PixelSet pixels;
  for (const TPoint p : ReferenceLine(a, b)) {
    for (int dy = -(width - 1) / 2; dy <= width / 2; ++dy) {
      for (int dx = -(width - 1) / 2; dx <= width / 2; ++dx) {
        if (area.Contains(p.X + dx, p.Y + dy)) pixels.insert({p.X + dx, p.Y + dy});
      }
    }
  }
  return pixels;
}

PixelSet DrawnLine(TPoint a, TPoint b, int width, const TRect* clip = nullptr) {
  QImage image = Filled(kSize, kSize, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Width = width;
  if (clip) canvas.IntersectClipRect(*clip);
  canvas.MoveTo(a.X, a.Y);
  canvas.LineTo(b.X, b.Y);
  return PixelsOf(image, clBlack);
}

// One row of an image as characters: '#' black, '.' white, 'R' red, '?' anything else.
std::string RowText(const QImage& image, int y) {
  std::string text;
  for (int x = 0; x < image.width(); ++x) {
    const TColor c = ColorAt(image, x, y);
    text += c == clBlack ? '#' : c == clWhite ? '.' : c == clRed ? 'R' : '?';
  }
  return text;
}

TEST(CanvasLine, TicksCoverTheirLengthAndNotTheEndPoint) {
  struct Row {
    TPoint from, to;
    PixelSet expected;
  };
  const Row rows[] = {
      {{10, 5}, {14, 5}, {{10, 5}, {11, 5}, {12, 5}, {13, 5}}},  // bottom-axis style, rightwards
      {{10, 5}, {6, 5}, {{10, 5}, {9, 5}, {8, 5}, {7, 5}}},      // left-axis tick, leftwards
      {{3, 20}, {3, 24}, {{3, 20}, {3, 21}, {3, 22}, {3, 23}}},  // downwards
      {{3, 20}, {3, 16}, {{3, 20}, {3, 19}, {3, 18}, {3, 17}}},  // upwards
      {{7, 7}, {7, 7}, {}},                                      // zero length: nothing
      {{7, 7}, {8, 7}, {{7, 7}}},                                // one step: the first pixel
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DrawnLine(row.from, row.to, 1), row.expected)
        << "from " << row.from.X << "," << row.from.Y << " to " << row.to.X << "," << row.to.Y;
  }
}

TEST(CanvasLine, SlopesRoundHalvesUpwards) {
  // Pixel 2 of 4 lies half way on the minor axis: it goes to the larger coordinate.
  EXPECT_EQ(DrawnLine({0, 0}, {4, 1}, 1), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(DrawnLine({0, 2}, {4, 1}, 1), (PixelSet{{0, 2}, {1, 2}, {2, 2}, {3, 1}}));
  EXPECT_EQ(DrawnLine({4, 1}, {0, 0}, 1), (PixelSet{{4, 1}, {3, 1}, {2, 1}, {1, 0}}));
  EXPECT_EQ(DrawnLine({0, 0}, {1, 4}, 1), (PixelSet{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
}

TEST(CanvasLine, RandomSegmentsMatchTheReference) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> coordinate(-15, kSize + 15);  // many cross the edges
  const TRect image{0, 0, kSize, kSize};
  for (int n = 0; n < 1500; ++n) {
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    ASSERT_EQ(DrawnLine(a, b, 1), ReferenceWideLine(a, b, 1, image))
        << "segment " << n << ": " << a.X << "," << a.Y << " to " << b.X << "," << b.Y;
  }
}

TEST(CanvasLine, WidePensStampSquaresAroundEachPixel) {
  // Width 2 spans offsets 0..1, width 3 spans -1..1.
  EXPECT_EQ(DrawnLine({2, 5}, {5, 5}, 2),
            (PixelSet{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {2, 6}, {3, 6}, {4, 6}, {5, 6}}));
  EXPECT_EQ(DrawnLine({2, 5}, {4, 5}, 3), (PixelSet{{1, 4},
                                                    {2, 4},
                                                    {3, 4},
                                                    {4, 4},
                                                    {1, 5},
                                                    {2, 5},
                                                    {3, 5},
                                                    {4, 5},
                                                    {1, 6},
                                                    {2, 6},
                                                    {3, 6},
                                                    {4, 6}}));
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-10, kSize + 10);
  const TRect image{0, 0, kSize, kSize};
  for (int n = 0; n < 600; ++n) {
    const int width = 2 + n % 4;
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    ASSERT_EQ(DrawnLine(a, b, width), ReferenceWideLine(a, b, width, image))
        << "width " << width << ": " << a.X << "," << a.Y << " to " << b.X << "," << b.Y;
  }
}

TEST(CanvasLine, ClipKeepsExactlyTheInsidePixels) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-10, kSize + 10);
  const TRect clip{7, 12, 30, 25};
  for (int n = 0; n < 400; ++n) {
    const int width = 1 + n % 3;
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    ASSERT_EQ(DrawnLine(a, b, width, &clip), ReferenceWideLine(a, b, width, clip)) << n;
  }
}

TEST(CanvasLine, AVeryLongLineDrawsOnlyItsVisiblePiece) {
  // Slope exactly 1/2 through the origin: column x holds row x / 2, odd columns rounding up.
  PixelSet expected;
  for (int x = 0; x < kSize; ++x) {
    if ((x + 1) / 2 < kSize) expected.insert({x, (x + 1) / 2});
  }
  EXPECT_EQ(DrawnLine({-1000000000, -500000000}, {1000000000, 500000000}, 1), expected);
  EXPECT_EQ(DrawnLine({-1000000000, -500000000}, {1000000000, 500000000}, 2),
            ReferenceWideLine({-2, -1}, {kSize + 2, kSize / 2 + 1}, 2, {0, 0, kSize, kSize}));
}

struct StyleRow {
  const char* name;
  TPenStyle style;
  const char* pixels;  // the first 20 pixels from the line's start
};

void PrintTo(const StyleRow& row, std::ostream* os) {
  *os << row.name;
}

class CanvasPenStyle : public testing::TestWithParam<StyleRow> {};

TEST_P(CanvasPenStyle, PatternCountsFromTheFirstPixelInEveryDirection) {
  const StyleRow row = GetParam();
  const std::string forward = row.pixels;
  const std::string backward(forward.rbegin(), forward.rend());
  QImage image = Filled(20, 3, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = row.style;
  canvas.BackgroundMode = bkTransparent;
  canvas.MoveTo(0, 0);
  canvas.LineTo(20, 0);
  canvas.MoveTo(19, 1);
  canvas.LineTo(-1, 1);
  EXPECT_EQ(RowText(image, 0), forward);
  EXPECT_EQ(RowText(image, 1), backward);

  QImage column = Filled(1, 20, clWhite);
  canvas.SetTarget(&column);
  canvas.MoveTo(0, 0);
  canvas.LineTo(0, 20);
  std::string down;
  for (int y = 0; y < 20; ++y)
    down += ColorAt(column, 0, y) == clBlack ? '#' : '.';
  EXPECT_EQ(down, forward);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CanvasPenStyle,
    testing::Values(StyleRow{"Solid", psSolid, "####################"},
                    StyleRow{"InsideFrame", psInsideFrame, "####################"},
                    StyleRow{"Dot", psDot, "##..##..##..##..##.."},
                    StyleRow{"Dash", psDash, "######..######..####"},
                    StyleRow{"DashDot", psDashDot, "######..##..######.."},
                    StyleRow{"DashDotDot", psDashDotDot, "######..##..##..####"}),
    [](const testing::TestParamInfo<StyleRow>& info) { return std::string(info.param.name); });

TEST(CanvasPenStyles, EachLineStartsItsOwnPattern) {
  QImage image = Filled(10, 1, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = psDot;
  canvas.BackgroundMode = bkTransparent;
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 0);
  canvas.LineTo(10, 0);
  EXPECT_EQ(RowText(image, 0), "##..###..#");
}

TEST(CanvasPenStyles, GapsFollowTheBackgroundMode) {
  QImage image = Filled(12, 2, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = psDashDot;
  canvas.BackgroundColor = clRed;
  canvas.BackgroundMode = bkOpaque;
  canvas.MoveTo(0, 0);
  canvas.LineTo(12, 0);
  canvas.BackgroundMode = bkTransparent;
  canvas.MoveTo(0, 1);
  canvas.LineTo(12, 1);
  EXPECT_EQ(RowText(image, 0), "######RR##RR");
  EXPECT_EQ(RowText(image, 1), "######..##..");
}

TEST(CanvasPenStyles, WideStyledPensDrawSolid) {
  QImage image = Filled(8, 3, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = psDot;
  canvas.Pen.Width = 2;
  canvas.BackgroundMode = bkTransparent;
  canvas.MoveTo(0, 0);
  canvas.LineTo(7, 0);
  EXPECT_EQ(RowText(image, 0), "########");
  EXPECT_EQ(RowText(image, 1), "########");
}

TEST(CanvasPenStyles, AlternatePixelsSetEveryOtherPixelWhateverTheStyle) {
  QImage image = Filled(9, 9, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.AlternatePixels = true;
  canvas.Pen.Style = psDash;
  canvas.Pen.Width = 3;            // a cosmetic pen: one pixel wide
  canvas.BackgroundColor = clRed;  // gaps untouched even with an opaque background
  canvas.BackgroundMode = bkOpaque;
  canvas.MoveTo(0, 0);
  canvas.LineTo(9, 0);
  canvas.MoveTo(8, 8);
  canvas.LineTo(-1, -1);
  EXPECT_EQ(RowText(image, 0), "#.#.#.#.#");
  EXPECT_EQ(PixelsOf(image, clBlack),
            (PixelSet{{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {8, 8}, {6, 6}, {4, 4}, {2, 2}}));
}

TEST(CanvasPenStyles, ClearPenDrawsNothingButMovesThePen) {
  QImage image = Filled(10, 10, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Style = psClear;
  canvas.Pen.AlternatePixels = true;
  canvas.MoveTo(1, 1);
  canvas.LineTo(8, 6);
  EXPECT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
  EXPECT_EQ(canvas.PenPos(), (TPoint{8, 6}));
  canvas.Pen.Style = psSolid;
  canvas.Pen.AlternatePixels = false;
  canvas.LineTo(8, 9);
  EXPECT_EQ(PixelsOf(image, clBlack), (PixelSet{{8, 6}, {8, 7}, {8, 8}}));
}

TEST(CanvasNotXor, WritesTheComplementOfPenXorPixel) {
  QImage image = Filled(4, 1, 0xF0F0F0);
  TCanvas canvas(&image);
  canvas.Pen.Mode = pmNotXor;
  canvas.Pen.Color = 0x336699;
  canvas.MoveTo(0, 0);
  canvas.LineTo(2, 0);
  EXPECT_EQ(ColorAt(image, 0, 0), 0x3C6996u);  // ~(0x336699 ^ 0xF0F0F0)
  EXPECT_EQ(ColorAt(image, 1, 0), 0x3C6996u);
  EXPECT_EQ(ColorAt(image, 2, 0), 0xF0F0F0u);
}

TEST(CanvasNotXor, DrawingTwiceRestoresTheImage) {
  std::mt19937 random(5);
  QImage image(kSize, kSize, QImage::Format_RGB32);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x)
      image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
  }
  const QImage original = image.copy();
  std::uniform_int_distribution<int> coordinate(-10, kSize + 10);
  const TPenStyle styles[] = {psSolid, psDot, psDash, psDashDot, psDashDotDot};
  for (int n = 0; n < 300; ++n) {
    TCanvas canvas(&image);
    canvas.Pen.Mode = pmNotXor;
    canvas.Pen.Color = random() & 0xFFFFFF;
    canvas.Pen.Style = styles[n % 5];
    canvas.Pen.Width = 1 + n % 4;
    canvas.Pen.AlternatePixels = n % 7 == 0;
    canvas.BackgroundMode = n % 2 ? bkOpaque : bkTransparent;
    canvas.BackgroundColor = random() & 0xFFFFFF;
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
    ASSERT_EQ(image, original) << "line " << n;
  }
}

}  // namespace
