// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/raster_surface.h"

namespace raster {

// How a line writes its pixels, already resolved to pixel values.
struct LinePen {
  std::uint32_t ink = 0;     // the pen colour as a pixel, or its NotXorMask in not-xor mode
  std::uint32_t gapInk = 0;  // the background colour, likewise
  // Bit k set: the k-th pixel of each period is drawn; the others are gaps. 64 bits, so that a
  // pattern stretched for a high-density surface still fits.
  std::uint64_t pattern = 1;
  int period = 1;
  bool fillGaps = false;  // gaps take gapInk; otherwise they are left untouched
  bool notXor = false;
  int width = 1;  // above 1: every pixel of the one-pixel line stamps a width × width square
};

// Draws the one-pixel line from `from` towards `to`, end point left out, pixels chosen by
// Bresenham's rule with halves rounding up; a wide pen stamps its square around each of them
// and draws the union once. The pattern starts at pixel `phase` of its period; the result
// is the phase for a line that continues this one.
int DrawLine(const Surface& s, TPoint from, TPoint to, const LinePen& pen, int phase = 0);
// The same with end points in 64 bits, for points scaled past the int range.
int DrawLine64(const Surface& s, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
               const LinePen& pen, int phase = 0);

// The same pixels as DrawLine from (x, y0) to (x, y1) for each x of `xs` (one-pixel pens),
// drawn row by row: a column at a time would reload a cache line for every pixel.
void DrawVertLines(const Surface& s, const int* xs, int count, int y0, int y1, const LinePen& pen);

}  // namespace raster
