// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_polyline.h"

#include <algorithm>
#include <cstdint>

#include "platform/cpu_features.h"

namespace raster {
namespace {

// Points of a column's run are scanned this many at a time: a fixed trip count keeps the
// comparisons and the row bounds in vectors.
constexpr int kLanes = 16;

// Rows [lo, hi] of column x, clipped to the surface; 64 bits, as a step's end is left out at
// one past an int's range.
void PutColumn(const Surface& s, int x, std::int64_t lo, std::int64_t hi, std::uint32_t ink) {
  const TRect& b = s.bounds;
  if (x < b.Left || x >= b.Right) return;
  const std::int64_t top = std::max<std::int64_t>(lo, b.Top);
  const std::int64_t bottom = std::min<std::int64_t>(hi + 1, b.Bottom);
  std::uint32_t* pixel = s.Row(static_cast<int>(top)) + x;
  for (std::int64_t y = top; y < bottom; ++y, pixel += s.stride)
    *pixel = ink;
}

struct RowRange {
  int lo, hi;
};

SIMHACHEUR_ALWAYS_INLINE RowRange RowsOf(const int* ys, int count) {
  RowRange r{ys[0], ys[0]};
  for (int k = 1; k < count; ++k) {
    r.lo = std::min(r.lo, ys[k]);
    r.hi = std::max(r.hi, ys[k]);
  }
  return r;
}

// The end of the run of points in column x that starts at `first` (whose successor is in the
// column too), with the rows of all its points but the last.
SIMHACHEUR_ALWAYS_INLINE int RunEnd(const int* xs, const int* ys, int first, int count,
                                    RowRange& rows) {
  const int x = xs[first];
  rows = {ys[first], ys[first]};
  int end = first + 1;  // points first .. end - 1 are in the run, rows cover all but end - 1
  while (end + kLanes <= count && xs[end + kLanes - 1] == x) {
    int same = 1, lo = rows.lo, hi = rows.hi;
    for (int j = 0; j < kLanes; ++j) {
      same &= xs[end + j] == x ? 1 : 0;
      lo = std::min(lo, ys[end - 1 + j]);
      hi = std::max(hi, ys[end - 1 + j]);
    }
    if (!same) break;
    rows = {lo, hi};
    end += kLanes;
  }
  for (; end < count && xs[end] == x; ++end) {
    rows.lo = std::min(rows.lo, ys[end - 1]);
    rows.hi = std::max(rows.hi, ys[end - 1]);
  }
  return end;
}

// The steps between the `count` points of a run down column x, given the rows of all but the
// last point. Each step starts where the one before ended, so together they cover one
// unbroken span: the rows of the points up to the last one off the final row, and from there
// towards the final row, which is left out unless an earlier step passed over it.
void PutRun(const Surface& s, int x, const int* ys, int count, RowRange rows, std::uint32_t ink) {
  const int last = ys[count - 1];
  if (ys[count - 2] == last) {
    // Repeats of the final point end the run: they make no step, and the rows are those of
    // the points before them.
    int j = count - 2;
    while (j >= 0 && ys[j] == last)
      --j;
    if (j < 0) return;
    rows = RowsOf(ys, j + 1);
  }
  std::int64_t lo = rows.lo, hi = rows.hi;
  if (last < lo) lo = std::int64_t{last} + 1;
  if (last > hi) hi = std::int64_t{last} - 1;
  PutColumn(s, x, lo, hi, ink);
}

SIMHACHEUR_ALWAYS_INLINE void SolidPolyline(const Surface& s, const int* xs, const int* ys,
                                            int count, const LinePen& pen) {
  int k = 1;
  while (k < count) {
    if (xs[k] != xs[k - 1]) {
      DrawLine(s, {xs[k - 1], ys[k - 1]}, {xs[k], ys[k]}, pen);
      ++k;
      continue;
    }
    RowRange rows;
    const int end = RunEnd(xs, ys, k - 1, count, rows);
    PutRun(s, xs[k - 1], ys + k - 1, end - k + 1, rows, pen.ink);
    k = end;
  }
}

void SolidPolylinePortable(const Surface& s, const int* xs, const int* ys, int count,
                           const LinePen& pen) {
  SolidPolyline(s, xs, ys, count, pen);
}

#ifdef SIMHACHEUR_AVX2_PATHS
// Eight rows a vector, with minimum and maximum instructions of their own.
[[gnu::target("avx2")]] void SolidPolylineAvx2(const Surface& s, const int* xs, const int* ys,
                                               int count, const LinePen& pen) {
  SolidPolyline(s, xs, ys, count, pen);
}
#endif

}  // namespace

void DrawPolyline(const Surface& s, const int* xs, const int* ys, int count, const LinePen& pen) {
  if (s.bounds.IsEmpty()) return;
  if (pen.width == 1 && pen.period == 1 && !pen.notXor) {
#ifdef SIMHACHEUR_AVX2_PATHS
    if (HasAvx2()) {
      SolidPolylineAvx2(s, xs, ys, count, pen);
      return;
    }
#endif
    SolidPolylinePortable(s, xs, ys, count, pen);
    return;
  }
  for (int k = 1; k < count; ++k)
    DrawLine(s, {xs[k - 1], ys[k - 1]}, {xs[k], ys[k]}, pen);
}

}  // namespace raster
