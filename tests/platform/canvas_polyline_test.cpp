// SPDX-License-Identifier: GPL-3.0-or-later
// A polyline lands on exactly the pixels of its segments drawn one by one with LineTo, for
// every kind of pen: the solid one-pixel pen merges each column's steps into one span.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

// A path that mostly climbs and falls within a column (as a dense trace does: `stay` percent
// of its steps), sometimes moves a column or a few, or jumps far beyond the image and the int
// range's ends.
std::vector<TPoint> DensePath(std::mt19937& random, int count, unsigned stay) {
  std::vector<TPoint> points{{static_cast<int>(random() % 40), static_cast<int>(random() % 40)}};
  const int far[] = {INT_MIN, INT_MIN + 1, -1000000000, -60, 100, 1000000000, INT_MAX};
  for (int k = 1; k < count; ++k) {
    TPoint p = points.back();
    const unsigned kind = random() % 1000;
    // Steps from the int range's ends stop at them.
    const auto moved = [&random](int v, int spread) {
      const std::int64_t step =
          static_cast<std::int64_t>(random() % static_cast<unsigned>(2 * spread + 1)) - spread;
      return static_cast<int>(std::clamp<std::int64_t>(v + step, INT_MIN, INT_MAX));
    };
    if (kind < stay * 10) {
      p.Y = moved(p.Y, 6);  // a step in the column, or none
    } else if (kind < 960) {
      p.X = moved(p.X, 2);
      p.Y = moved(p.Y, 4);
    } else if (kind < 990) {
      p = {static_cast<int>(random() % 48) - 4, static_cast<int>(random() % 48) - 4};
    } else {
      (random() % 2 ? p.Y : p.X) = far[random() % 7];
    }
    points.push_back(p);
  }
  return points;
}

void PolylineOf(TCanvas& canvas, const std::vector<TPoint>& points) {
  std::vector<int> xs, ys;
  for (const TPoint p : points) {
    xs.push_back(p.X);
    ys.push_back(p.Y);
  }
  canvas.Polyline(xs.data(), ys.data(), static_cast<int>(points.size()));
}

TEST(CanvasPolyline, MatchesItsSegmentsDrawnOneByOne) {
  std::mt19937 random(17);
  const TPenStyle styles[] = {psSolid, psDot, psDashDotDot};
  for (int round = 0; round < 150; ++round) {
    TCanvasPen pen;
    // Mostly the solid one-pixel copy pen, which the spans serve; the others now and then.
    const bool plain = round % 4 != 0;
    pen.Style = plain ? psSolid : styles[random() % 3];
    pen.Mode = !plain && random() % 2 ? pmNotXor : pmCopy;
    pen.Width = !plain && random() % 2 ? 2 : 1;
    pen.AlternatePixels = !plain && random() % 4 == 0;
    pen.Color = static_cast<TColor>(random() & 0xFFFFFF);
    // Runs of a few points, and runs long enough to be scanned many points at a time.
    const std::vector<TPoint> points =
        DensePath(random, 1 + static_cast<int>(random() % 400), round % 2 == 0 ? 60 : 95);
    const TRect clip{static_cast<int>(random() % 12), static_cast<int>(random() % 12),
                     28 + static_cast<int>(random() % 13), 28 + static_cast<int>(random() % 13)};
    const auto setUp = [&](TCanvas& c) {
      c.Pen = pen;
      c.BackgroundMode = bkOpaque;
      c.BackgroundColor = clYellow;
      if (round % 3 != 0) c.IntersectClipRect(clip);
    };
    QImage together = Noise(40, 40, QImage::Format_RGB32, static_cast<unsigned>(round));
    QImage apart = together.copy();
    TCanvas a(&together), b(&apart);
    setUp(a);
    setUp(b);
    PolylineOf(a, points);
    b.MoveTo(points[0].X, points[0].Y);
    for (std::size_t k = 1; k < points.size(); ++k)
      b.LineTo(points[k].X, points[k].Y);
    ASSERT_EQ(together, apart) << "round " << round;
    EXPECT_EQ(a.PenPos(), b.PenPos());
  }
}

// The rows a column's run covers, run by run: each step leaves its end out, so a run's last
// point is drawn only when an earlier step of the same run passed over it.
TEST(CanvasPolyline, ColumnRunsLeaveOnlyTheirLastEndOut) {
  const struct {
    std::vector<TPoint> points;
    std::string column;  // rows 0 .. 9 of column 2, '#' drawn
  } rows[] = {
      {{{2, 6}, {2, 1}}, "..#####..."},
      {{{2, 3}, {2, 7}, {2, 5}}, "...#####.."},  // back over the run: its end is drawn
      {{{2, 3}, {2, 5}, {2, 1}}, "..####...."},  // beyond the start: the far end left out
      {{{2, 3}, {2, 3}, {2, 3}}, ".........."},  // no step draws nothing
      // Two runs of the column with a detour between them: not one span from 1 to 7.
      {{{2, 1}, {2, 3}, {5, 3}, {2, 6}, {2, 8}}, ".###..##.."},
  };
  for (const auto& row : rows) {
    const QImage image = Paint(10, 10, [&](TCanvas& c) { PolylineOf(c, row.points); });
    std::string column;
    for (int y = 0; y < 10; ++y)
      column += ColorAt(image, 2, y) == clBlack ? '#' : '.';
    EXPECT_EQ(column, row.column) << row.points.size() << " points ending at row "
                                  << row.points.back().Y;
  }
}

}  // namespace
