#include "platform/raster_polyline.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace raster {
namespace {

// Rows [lo, hi] of one column, an empty span when lo > hi; 64 bits because a step's end is
// left out at one past an int's range.
struct ColumnSpan {
  static constexpr std::int64_t kEmptyLo = std::numeric_limits<std::int64_t>::max();
  static constexpr std::int64_t kEmptyHi = std::numeric_limits<std::int64_t>::min();

  std::int64_t lo = kEmptyLo, hi = kEmptyHi;
  int x = 0;

  // Writes the span, clipped to the surface, and empties it.
  void Flush(const Surface& s, std::uint32_t ink) {
    const TRect& b = s.bounds;
    if (lo <= hi && x >= b.Left && x < b.Right) {
      const std::int64_t top = std::max<std::int64_t>(lo, b.Top);
      const std::int64_t bottom = std::min<std::int64_t>(hi + 1, b.Bottom);
      std::uint32_t* pixel = s.Row(static_cast<int>(top)) + x;
      for (std::int64_t y = top; y < bottom; ++y, pixel += s.stride)
        *pixel = ink;
    }
    lo = kEmptyLo;
    hi = kEmptyHi;
  }
};

// A run of steps within one column covers one unbroken span: each step starts where the one
// before ended, and only the run's very last end point can be left out.
void SolidPolyline(const Surface& s, const TPoint* points, int count, const LinePen& pen) {
  ColumnSpan span;
  for (int k = 1; k < count; ++k) {
    const TPoint a = points[k - 1], b = points[k];
    if (a.X != b.X) {
      span.Flush(s, pen.ink);
      DrawLine(s, a, b, pen);
      continue;
    }
    if (a.Y == b.Y) continue;  // no step, no pixel
    // From a towards b, b left out.
    const std::int64_t ay = a.Y, by = b.Y;
    span.x = a.X;
    span.lo = std::min(span.lo, std::min(ay, by + 1));
    span.hi = std::max(span.hi, std::max(ay, by - 1));
  }
  span.Flush(s, pen.ink);
}

}  // namespace

void DrawPolyline(const Surface& s, const TPoint* points, int count, const LinePen& pen) {
  if (s.bounds.IsEmpty()) return;
  if (pen.width == 1 && pen.period == 1 && !pen.notXor) {
    SolidPolyline(s, points, count, pen);
    return;
  }
  for (int k = 1; k < count; ++k)
    DrawLine(s, points[k - 1], points[k], pen);
}

}  // namespace raster
