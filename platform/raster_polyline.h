// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/raster_line.h"
#include "platform/raster_surface.h"

namespace raster {

// The pixels of DrawLine from point k - 1 to point k for k = 1 .. count - 1, point k being
// (xs[k], ys[k]) and each line starting its pattern afresh. A solid one-pixel pen in copy mode
// writes one colour wherever a line passes, so the order of the writes does not matter:
// consecutive steps along one column are merged and their span written once. Styled, wide and
// not-xor pens draw line by line, since their overlaps and pattern phases change the result.
void DrawPolyline(const Surface& s, const int* xs, const int* ys, int count, const LinePen& pen);

}  // namespace raster
