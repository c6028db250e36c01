// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "test_support.h"

namespace {

constexpr int kSize = 40;

// The pixels of a one-pixel line straight from its definition: n = the longer extent, pixel i
// at the start plus i / n of the way, each coordinate rounded with halves going up.
std::vector<TPoint> ReferenceLine(TPoint a, TPoint b) {
  const int dx = b.X - a.X;
  const int dy = b.Y - a.Y;
  const int n = std::max(std::abs(dx), std::abs(dy));
  std::vector<TPoint> pixels;
  pixels.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    pixels.push_back({static_cast<int>(std::floor(a.X + double(i) * dx / n + 0.5)),
                      static_cast<int>(std::floor(a.Y + double(i) * dy / n + 0.5))});
  }
  return pixels;
}

// A width × width square stamped on each reference pixel, kept inside `area`.
PixelSet ReferenceWideLine(TPoint a, TPoint b, int width, TRect area) {
  PixelSet pixels;
  for (const TPoint p : ReferenceLine(a, b)) {
    for (int y = p.Y - (width - 1) / 2; y <= p.Y + width / 2; ++y) {
      for (int x = p.X - (width - 1) / 2; x <= p.X + width / 2; ++x) {
        if (area.Contains(x, y)) pixels.insert({x, y});
      }
    }
  }
  return pixels;
}

PixelSet DrawnLine(TPoint a, TPoint b, int width, TRect clip = {0, 0, kSize, kSize}) {
  return PixelsNotOf(Paint(kSize, kSize,
                           [&](TCanvas& c) {
                             c.Pen.Width = width;
                             c.IntersectClipRect(clip);
                             c.MoveTo(a.X, a.Y);
                             c.LineTo(b.X, b.Y);
                           }),
                     clWhite);
}

TEST(CanvasLine, EndPointIsLeftOutAndHalvesRoundUp) {
  const struct {
    TPoint from, to;
    PixelSet pixels;
  } rows[] = {
      {{10, 5}, {14, 5}, {{10, 5}, {11, 5}, {12, 5}, {13, 5}}},  // a tick of 4 covers 4 pixels
      {{10, 5}, {6, 5}, {{10, 5}, {9, 5}, {8, 5}, {7, 5}}},
      {{3, 20}, {3, 24}, {{3, 20}, {3, 21}, {3, 22}, {3, 23}}},
      {{3, 20}, {3, 16}, {{3, 20}, {3, 19}, {3, 18}, {3, 17}}},
      {{7, 7}, {7, 7}, {}},
      {{0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},  // pixel 2 is half way: it goes down
      {{0, 2}, {4, 1}, {{0, 2}, {1, 2}, {2, 2}, {3, 1}}},  // ... or stays down
      {{0, 0}, {1, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DrawnLine(row.from, row.to, 1), row.pixels)
        << row.from.X << "," << row.from.Y << " to " << row.to.X << "," << row.to.Y;
  }
  // Wide pens: width 2 spans offsets 0..1, width 3 spans -1..1.
  EXPECT_EQ(DrawnLine({2, 5}, {4, 5}, 2), BoxPixels({2, 5, 5, 7}));
  EXPECT_EQ(DrawnLine({2, 5}, {4, 5}, 3), BoxPixels({1, 4, 5, 7}));
}

TEST(CanvasLine, RandomSegmentsMatchTheReference) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> coordinate(-15, kSize + 15);  // many cross the edges
  const TRect clips[] = {{0, 0, kSize, kSize}, {7, 12, 30, 25}};
  for (int n = 0; n < 2000; ++n) {
    const int width = 1 + n % 4;
    const TRect clip = clips[n % 3 == 0];
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    ASSERT_EQ(DrawnLine(a, b, width, clip), ReferenceWideLine(a, b, width, clip))
        << "width " << width << ": " << a.X << "," << a.Y << " to " << b.X << "," << b.Y;
  }
}

TEST(CanvasLine, AVeryLongLineDrawsOnlyItsVisiblePiece) {
  // Slope exactly 1/2 through the origin: column x holds row x / 2, odd columns rounding up.
  const TPoint a{-1000000000, -500000000};
  const TPoint b{1000000000, 500000000};
  PixelSet expected;
  for (int x = 0; x < kSize; ++x)
    expected.insert({x, (x + 1) / 2});
  EXPECT_EQ(DrawnLine(a, b, 1), expected);
  EXPECT_EQ(DrawnLine(a, b, 2), ReferenceWideLine({-2, -1}, {42, 21}, 2, {0, 0, kSize, kSize}));
}

// The first `length` pixels of a horizontal line in `pen` over white, gaps opaque red.
std::string LinePixels(const TCanvasPen& pen, int length) {
  return Picture(Paint(length, 1, [&](TCanvas& c) {
    c.Pen = pen;
    c.BackgroundColor = clRed;
    c.LineTo(length, 0);
  }));
}

TEST(CanvasPen, StylesRepeatFromTheFirstPixelOfEachLine) {
  const struct {
    TPenStyle style;
    std::string pixels;  // the first 20 from the start of a line
  } rows[] = {
      {psSolid, "####################"},   {psInsideFrame, "####################"},
      {psDot, "##..##..##..##..##.."},     {psDash, "######..######..####"},
      {psDashDot, "######..##..######.."}, {psDashDotDot, "######..##..##..####"},
  };
  for (const auto& row : rows) {
    const QImage image = Paint(20, 3, [&](TCanvas& c) {
      c.Pen.Style = row.style;
      c.BackgroundMode = bkTransparent;
      c.LineTo(20, 0);
      c.MoveTo(19, 1);  // leftwards: the pattern starts at the right
      c.LineTo(-1, 1);
      c.MoveTo(0, 2);  // two lines in a row: each starts its own pattern
      c.LineTo(10, 2);
      c.LineTo(20, 2);
    });
    const std::string backward(row.pixels.rbegin(), row.pixels.rend());
    const std::string twice = row.pixels.substr(0, 10) + row.pixels.substr(0, 10);
    EXPECT_EQ(Picture(image), row.pixels + "/" + backward + "/" + twice) << row.style;
    std::string opaque = row.pixels;
    std::replace(opaque.begin(), opaque.end(), '.', 'R');
    EXPECT_EQ(LinePixels({clBlack, row.style, 1, pmCopy, false}, 20), opaque) << row.style;
  }
  // Wide styled pens hold each place of the pattern for their width, on every row of their
  // width, and leave their gaps alone even when the background is opaque; a cosmetic pen is one
  // pixel wide and leaves its gaps alone.
  EXPECT_EQ(LinePixels({clBlack, psDot, 2, pmCopy, false}, 10), "####....##");
  const QImage wide = Paint(20, 4, [](TCanvas& c) {
    c.Pen = {clBlack, psDash, 2, pmCopy, false};
    c.BackgroundMode = bkTransparent;
    c.MoveTo(0, 1);
    c.LineTo(20, 1);
  });
  EXPECT_EQ(Picture(wide),
            "..................../############....####/"
            "############....####/....................");
  EXPECT_EQ(LinePixels({clBlack, psDash, 3, pmCopy, true}, 9), "#.#.#.#.#");
  EXPECT_EQ(LinePixels({clBlack, psClear, 1, pmCopy, true}, 5), ".....");
}

TEST(CanvasNotXor, ComplementsPenXorPixelAndDrawingTwiceRestores) {
  const QImage one = Paint(
      5, 1,
      [](TCanvas& c) {
        c.Pen = {0x336699, psDot, 1, pmNotXor, false};
        c.BackgroundColor = 0x0000FF;  // opaque gaps are complemented too
        c.LineTo(4, 0);
      },
      0xF0F0F0);
  EXPECT_EQ(ColorAt(one, 1, 0), 0x3C6996u);  // ~(0x336699 ^ 0xF0F0F0)
  EXPECT_EQ(ColorAt(one, 3, 0), 0x0F0FF0u);  // ~(0x0000FF ^ 0xF0F0F0)
  EXPECT_EQ(ColorAt(one, 4, 0), 0xF0F0F0u);

  std::mt19937 random(5);
  QImage image = Noise(kSize, kSize, QImage::Format_RGB32, 5);
  const QImage original = image.copy();
  std::uniform_int_distribution<int> coordinate(-10, kSize + 10);
  TCanvas canvas(&image);
  int changed = 0;
  for (int n = 0; n < 300; ++n) {
    canvas.Pen = {TColor(random() & 0xFFFFFF), TPenStyle(n % 5), 1 + n % 4, pmNotXor, n % 7 == 0};
    canvas.BackgroundMode = n % 3 ? bkOpaque : bkTransparent;
    canvas.BackgroundColor = random() & 0xFFFFFF;
    const TPoint a{coordinate(random), coordinate(random)};
    const TPoint b{coordinate(random), coordinate(random)};
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
    changed += image != original;
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
    ASSERT_EQ(image, original) << "line " << n;
  }
  EXPECT_GT(changed, 200);  // most lines cross the image
}

}  // namespace

namespace {

// Many vertical lines drawn row by row land on exactly the pixels of the same lines drawn one
// by one, whatever the pen, the direction, the clip and the background beneath.
TEST(CanvasLine, VertLinesMatchLinesDrawnOneByOne) {
  std::mt19937 random(11);
  const TPenStyle styles[] = {psSolid, psDot, psDash, psDashDot, psDashDotDot};
  for (int round = 0; round < 60; ++round) {
    TCanvasPen pen;
    pen.Style = styles[round % 5];
    pen.Mode = round % 3 == 0 ? pmNotXor : pmCopy;
    pen.Width = round % 7 == 0 ? 2 : 1;
    pen.Color = static_cast<TColor>(random() & 0xFFFFFF);
    std::vector<int> xs;
    xs.reserve(8);
    for (int k = 0; k < 8; ++k)
      xs.push_back(static_cast<int>(random() % 44) - 2);
    const int y0 = static_cast<int>(random() % 44) - 2, y1 = static_cast<int>(random() % 44) - 2;
    const TBackgroundMode mode = round % 2 == 0 ? bkOpaque : bkTransparent;
    const TRect clip{static_cast<int>(random() % 10), static_cast<int>(random() % 10), 30, 35};
    const auto setUp = [&](TCanvas& c) {
      c.Pen = pen;
      c.BackgroundMode = mode;
      c.BackgroundColor = clYellow;
      c.IntersectClipRect(clip);
    };
    QImage together = Noise(40, 40, QImage::Format_RGB32, static_cast<unsigned>(round));
    QImage apart = together.copy();
    TCanvas a(&together), b(&apart);
    setUp(a);
    setUp(b);
    a.VertLines(xs.data(), static_cast<int>(xs.size()), y0, y1);
    for (int x : xs) {
      b.MoveTo(x, y0);
      b.LineTo(x, y1);
    }
    ASSERT_EQ(together, apart) << "round " << round;
    EXPECT_EQ(a.PenPos(), b.PenPos());
  }
}

}  // namespace

namespace {

// Wide lines along a row or a column, both ways, across the edges and the clip.
TEST(CanvasLine, StraightWideLinesMatchTheReference) {
  const TRect clips[] = {{0, 0, kSize, kSize}, {7, 12, 30, 25}};
  for (int width = 2; width <= 4; ++width) {
    for (const TRect& clip : clips) {
      for (auto [a, b] : {std::pair<TPoint, TPoint>{{3, 9}, {30, 9}},
                          {{30, 9}, {3, 9}},
                          {{10, -5}, {10, 50}},
                          {{10, 50}, {10, -5}},
                          {{-8, 0}, {-2, 0}},
                          {{20, 20}, {20, 21}}}) {
        ASSERT_EQ(DrawnLine(a, b, width, clip), ReferenceWideLine(a, b, width, clip))
            << "width " << width << ": " << a.X << "," << a.Y << " to " << b.X << "," << b.Y;
      }
    }
  }
}

}  // namespace

namespace {

// Segments drawn together land where the same segments drawn one by one do.
TEST(CanvasLine, SegmentsMatchLinesDrawnOneByOne) {
  std::mt19937 random(5);
  for (int round = 0; round < 40; ++round) {
    TCanvasPen pen;
    pen.Style = round % 2 == 0 ? psDot : psSolid;
    pen.Mode = round % 3 == 0 ? pmNotXor : pmCopy;
    pen.Width = 1 + round % 3;
    std::vector<TPoint> ends;
    ends.reserve(12);
    for (int k = 0; k < 12; ++k) {
      ends.push_back({static_cast<int>(random() % 50) - 5, static_cast<int>(random() % 50) - 5});
    }
    QImage together = Noise(40, 40, QImage::Format_RGB32, static_cast<unsigned>(round));
    QImage apart = together.copy();
    TCanvas a(&together), b(&apart);
    a.Pen = b.Pen = pen;
    a.Segments(ends.data(), static_cast<int>(ends.size() / 2));
    for (std::size_t k = 0; k < ends.size(); k += 2) {
      b.MoveTo(ends[k].X, ends[k].Y);
      b.LineTo(ends[k + 1].X, ends[k + 1].Y);
    }
    ASSERT_EQ(together, apart) << "round " << round;
    EXPECT_EQ(a.PenPos(), b.PenPos());
  }
}

}  // namespace
