// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_line.h"

#include <algorithm>
#include <cstdlib>

#include "platform/wide_divide.h"

namespace raster {
namespace {

// A line seen along its major axis: pixel i (0 <= i < n) lies at major0 + majorSign × i on
// that axis and at minor0 + floor((2 i d + n) / 2n) on the other, the ideal position
// minor0 + i d / n rounded with halves going up.
struct Line {
  std::int64_t major0;
  std::int64_t minor0;
  std::int64_t n;  // pixels drawn: the end point is left out
  std::int64_t d;  // signed minor extent, |d| <= n
  std::int64_t majorSign;
  bool yMajor;

  FloorDiv MinorOffset(std::int64_t i) const { return HalfStepOffset(i, d, n); }
  std::int64_t MajorAt(std::int64_t i) const { return major0 + majorSign * i; }
};

Line Orient(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  if (std::abs(dx) >= std::abs(dy)) return {x0, y0, std::abs(dx), dy, dx < 0 ? -1 : 1, false};
  return {y0, x0, std::abs(dy), dx, dy < 0 ? -1 : 1, true};
}

// The surface bounds in the line's own axes, half open.
struct AxisBounds {
  std::int64_t majorLo, majorHi, minorLo, minorHi;
};

AxisBounds BoundsOf(const Surface& s, const Line& l) {
  const TRect& b = s.bounds;
  if (l.yMajor) return {b.Top, b.Bottom, b.Left, b.Right};
  return {b.Left, b.Right, b.Top, b.Bottom};
}

struct IndexRange {
  std::int64_t first, end;
};

// The pixels i whose major coordinate lies in [lo, hi).
IndexRange PixelsWithin(const Line& l, std::int64_t lo, std::int64_t hi) {
  if (l.majorSign > 0)
    return {std::max<std::int64_t>(0, lo - l.major0), std::min(l.n, hi - l.major0)};
  return {std::max<std::int64_t>(0, l.major0 - hi + 1), std::min(l.n, l.major0 - lo + 1)};
}

// One-pixel pens. The major axis is clipped before the walk, so a line however long costs at
// most one step per row or column of the surface.
template <bool kXor, bool kStyled>
void WalkPixels(const Surface& s, const Line& l, const LinePen& pen, int phase) {
  const AxisBounds ab = BoundsOf(s, l);
  const IndexRange range = PixelsWithin(l, ab.majorLo, ab.majorHi);
  if (range.first >= range.end) return;
  // Most lines start inside the surface: pixel 0 needs no division.
  const FloorDiv start = range.first == 0 ? FloorDiv{0, l.n} : l.MinorOffset(range.first);
  std::int64_t minor = l.minor0 + start.quot;
  std::int64_t rem = start.rem;
  const std::int64_t twoN = 2 * l.n;
  const std::int64_t twoD = 2 * l.d;
  const qsizetype majorStep = (l.yMajor ? s.stride : 1) * l.majorSign;
  const qsizetype minorStep = l.yMajor ? 1 : s.stride;
  const std::int64_t major = l.MajorAt(range.first);
  qsizetype at = l.yMajor ? major * s.stride + minor : minor * s.stride + major;
  int ph = kStyled ? static_cast<int>((phase + range.first % pen.period) % pen.period) : 0;
  for (std::int64_t i = range.first; i < range.end; ++i) {
    if (minor >= ab.minorLo && minor < ab.minorHi) {
      std::uint32_t& pixel = s.bits[at];
      if (!kStyled || ((pen.pattern >> ph) & 1u)) {
        Put<kXor>(pixel, pen.ink);
      } else if (pen.fillGaps) {
        Put<kXor>(pixel, pen.gapInk);
      }
    } else if ((l.d >= 0 && minor >= ab.minorHi) || (l.d <= 0 && minor < ab.minorLo)) {
      break;  // past the bounds and moving away from them
    }
    at += majorStep;
    rem += twoD;
    if (rem >= twoN) {
      rem -= twoN;
      ++minor;
      at += minorStep;
    } else if (rem < 0) {
      rem += twoN;
      --minor;
      at -= minorStep;
    }
    if constexpr (kStyled) {
      if (++ph == pen.period) ph = 0;
    }
  }
}

// A one-pixel line along a row or a column (the grid, ticks, axis lines): one bounds check for
// the whole line, then, for a styled pen, one strided pass per place in the pattern, so the
// inner loops carry no pattern test.
template <bool kXor, bool kStyled>
void WalkStraight(const Surface& s, const Line& l, const LinePen& pen, int phase) {
  const AxisBounds ab = BoundsOf(s, l);
  if (l.minor0 < ab.minorLo || l.minor0 >= ab.minorHi) return;
  const IndexRange range = PixelsWithin(l, ab.majorLo, ab.majorHi);
  if (range.first >= range.end) return;
  const qsizetype step = (l.yMajor ? s.stride : 1) * l.majorSign;
  const std::int64_t major = l.MajorAt(range.first);
  std::uint32_t* first =
      s.bits + (l.yMajor ? major * s.stride + l.minor0 : l.minor0 * s.stride + major);
  const std::int64_t count = range.end - range.first;
  if constexpr (!kStyled) {
    const std::uint32_t ink = pen.ink;
    for (std::int64_t i = 0; i < count; ++i)
      Put<kXor>(first[i * step], ink);
  } else {
    // Locals: the pixel stores could otherwise alias the pen and force a reload per pixel.
    const std::int64_t period = pen.period;
    const int ph0 = static_cast<int>((phase + range.first % period) % period);
    for (std::int64_t k = 0; k < period && k < count; ++k) {
      const bool ink = ((pen.pattern >> ((ph0 + k) % period)) & 1u) != 0;
      if (!ink && !pen.fillGaps) continue;
      const std::uint32_t value = ink ? pen.ink : pen.gapInk;
      const qsizetype stride = step * period;
      std::uint32_t* pixel = first + k * step;
      for (std::int64_t i = k; i < count; i += period, pixel += stride)
        Put<kXor>(*pixel, value);
    }
  }
}

// Wide pens. The squares stamped along the line cover, on each row or column across the
// major axis, one unbroken span (neighbouring pixels differ by at most one on the minor axis
// and a square is at least two wide), so the union is drawn span by span, each pixel once.
template <bool kXor>
void WalkWide(const Surface& s, const Line& l, const LinePen& pen) {
  const std::int64_t before = (pen.width - 1) / 2;
  const std::int64_t after = pen.width / 2;
  const AxisBounds ab = BoundsOf(s, l);
  const std::int64_t last = l.MajorAt(l.n - 1);
  const std::int64_t c0 = std::max(std::min(l.major0, last) - before, ab.majorLo);
  const std::int64_t c1 = std::min(std::max(l.major0, last) + after + 1, ab.majorHi);
  for (std::int64_t c = c0; c < c1; ++c) {
    const IndexRange stamps = PixelsWithin(l, c - after, c + before + 1);
    const std::int64_t m0 = l.MinorOffset(stamps.first).quot;
    const std::int64_t m1 = l.MinorOffset(stamps.end - 1).quot;
    const int lo = static_cast<int>(std::max(l.minor0 + std::min(m0, m1) - before, ab.minorLo));
    const int hi = static_cast<int>(std::min(l.minor0 + std::max(m0, m1) + after + 1, ab.minorHi));
    if (l.yMajor) {
      if (lo < hi) PutRowSpan<kXor>(s.Row(static_cast<int>(c)), lo, hi, pen.ink);
    } else {
      for (int y = lo; y < hi; ++y)
        Put<kXor>(s.Row(y)[c], pen.ink);
    }
  }
}

}  // namespace

int DrawLine(const Surface& s, TPoint from, TPoint to, const LinePen& pen, int phase) {
  return DrawLine64(s, from.X, from.Y, to.X, to.Y, pen, phase);
}

int DrawLine64(const Surface& s, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
               const LinePen& pen, int phase) {
  const Line l = Orient(x0, y0, x1, y1);
  const int next = pen.period == 1 ? 0 : static_cast<int>((phase + l.n % pen.period) % pen.period);
  if (l.n == 0 || s.bounds.IsEmpty()) return next;
  if (pen.width > 1 && l.d == 0) {
    // A straight wide line is one rectangle: the squares stamped along it, each pixel once.
    const std::int64_t before = (pen.width - 1) / 2, after = pen.width / 2;
    const std::int64_t last = l.MajorAt(l.n - 1);
    const auto clampToInt = [](std::int64_t v) {
      return static_cast<int>(std::clamp<std::int64_t>(v, -(1LL << 30), 1LL << 30));
    };
    const int majorLo = clampToInt(std::min(l.major0, last) - before);
    const int majorHi = clampToInt(std::max(l.major0, last) + after + 1);
    const int minorLo = clampToInt(l.minor0 - before);
    const int minorHi = clampToInt(l.minor0 + after + 1);
    const TRect r = l.yMajor ? TRect{minorLo, majorLo, minorHi, majorHi}
                             : TRect{majorLo, minorLo, majorHi, minorHi};
    FillRect(s, r, pen.ink, pen.notXor);
    return next;
  }
  if (pen.width > 1) {
    if (pen.notXor) {
      WalkWide<true>(s, l, pen);
    } else {
      WalkWide<false>(s, l, pen);
    }
    return next;
  }
  const bool styled = pen.period > 1;
  if (l.d == 0) {
    if (pen.notXor) {
      styled ? WalkStraight<true, true>(s, l, pen, phase)
             : WalkStraight<true, false>(s, l, pen, phase);
    } else {
      styled ? WalkStraight<false, true>(s, l, pen, phase)
             : WalkStraight<false, false>(s, l, pen, phase);
    }
    return next;
  }
  if (pen.notXor) {
    styled ? WalkPixels<true, true>(s, l, pen, phase) : WalkPixels<true, false>(s, l, pen, phase);
  } else {
    styled ? WalkPixels<false, true>(s, l, pen, phase) : WalkPixels<false, false>(s, l, pen, phase);
  }
  return next;
}

void DrawVertLines(const Surface& s, const int* xs, int count, int y0, int y1, const LinePen& pen) {
  const TRect& b = s.bounds;
  const int step = y1 >= y0 ? 1 : -1;
  // Rows y0, y0 + step, ... up to y1 left out, kept inside the bounds.
  const std::int64_t n = std::abs(std::int64_t{y1} - y0);
  for (std::int64_t i = 0; i < n; ++i) {
    const std::int64_t y = y0 + step * i;
    if (y < b.Top || y >= b.Bottom) continue;
    const int ph = static_cast<int>(i % pen.period);
    const bool ink = ((pen.pattern >> ph) & 1u) != 0;
    if (!ink && !pen.fillGaps) continue;
    const std::uint32_t value = ink ? pen.ink : pen.gapInk;
    const bool notXor = pen.notXor;
    const int left = b.Left, right = b.Right;
    std::uint32_t* row = s.Row(static_cast<int>(y));
    for (int k = 0; k < count; ++k) {
      const int x = xs[k];
      if (x < left || x >= right) continue;
      if (notXor) {
        Put<true>(row[x], value);
      } else {
        Put<false>(row[x], value);
      }
    }
  }
}

}  // namespace raster
