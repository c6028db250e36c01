// SPDX-License-Identifier: GPL-3.0-or-later
// TCanvas's fills: solid, or hatched by an 8 × 8 tile.
#include <cstdint>
#include <optional>

#include "platform/canvas.h"
#include "platform/raster_surface.h"

namespace {

using raster::ScaleRect;
using raster::Surface;
using raster::ToPixel;

// Hatched brushes repeat an 8 × 8 tile anchored at the image's origin, so that neighbouring
// fills join up; '#' is a line pixel in the brush colour, '.' a gap:
//
//   Horizontal  Vertical  FDiagonal BDiagonal Cross     DiagCross
//   ########    #.......  #.......  #.......  ########  #.......
//   ........    #.......  .......#  .#......  #.......  .#.....#
//   ........    #.......  ......#.  ..#.....  #.......  ..#...#.
//   ........    #.......  .....#..  ...#....  #.......  ...#.#..
//   ........    #.......  ....#...  ....#...  #.......  ....#...
//   ........    #.......  ...#....  .....#..  #.......  ...#.#..
//   ........    #.......  ..#.....  ......#.  #.......  ..#...#.
//   ........    #.......  .#......  .......#  #.......  .#.....#
//
// that is y % 8 == 0, x % 8 == 0, (x + y) % 8 == 0, (x - y) % 8 == 0 and their unions.
// Bit x % 8 of the result marks a line pixel of row y.
std::uint8_t HatchRow(TBrushStyle style, int y) {
  const int row = y & 7;
  const std::uint8_t horizontal = row == 0 ? 0xFF : 0x00;
  const std::uint8_t vertical = 0x01;
  const std::uint8_t forward = static_cast<std::uint8_t>(1u << ((8 - row) & 7));
  const std::uint8_t backward = static_cast<std::uint8_t>(1u << row);
  switch (style) {
    case bsHorizontal:
      return horizontal;
    case bsVertical:
      return vertical;
    case bsFDiagonal:
      return forward;
    case bsBDiagonal:
      return backward;
    case bsCross:
      return horizontal | vertical;
    case bsDiagCross:
      return forward | backward;
    default:
      return 0xFF;
  }
}

// `r` is already clipped. Transparent gaps: only the line pixels are visited.
void FillHatched(const Surface& s, const TRect& r, TBrushStyle style, std::uint32_t ink,
                 std::optional<std::uint32_t> gapInk) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    const std::uint8_t lines = HatchRow(style, y);
    std::uint32_t* row = s.Row(y);
    if (gapInk) {
      std::uint32_t tile[8];
      for (int k = 0; k < 8; ++k)
        tile[k] = (lines >> k) & 1 ? ink : *gapInk;
      for (int x = r.Left; x < r.Right; ++x)
        row[x] = tile[x & 7];
      continue;
    }
    for (int k = 0; k < 8; ++k) {
      if (!((lines >> k) & 1)) continue;
      for (int x = r.Left + ((k - r.Left) & 7); x < r.Right; x += 8)
        row[x] = ink;
    }
  }
}

}  // namespace

void TCanvas::FillRect(const TRect& rect) {
  Surface s;
  if (Brush.Style == bsClear || !PrepareSurface(s)) return;
  if (scale_ > 1) {
    ScaledFill(s, rect);
    return;
  }
  FillWithBrush(s, rect);
}

// Hatches keep their logical 8 × 8 tile: each of its pixels is a device block.
void TCanvas::ScaledFill(const Surface& s, const TRect& rect) const {
  const TRect r = raster::Intersect(ScaleRect(rect, scale_), s.bounds);
  if (r.IsEmpty() || Brush.Style == bsClear) return;
  const std::uint32_t ink = ToPixel(ResolveColor(Brush.Color));
  if (Brush.Style == bsSolid) {
    raster::FillRect(s, r, ink, false);
    return;
  }
  const bool opaque = BackgroundMode == bkOpaque;
  const std::uint32_t gapInk = ToPixel(ResolveColor(BackgroundColor));
  for (int y = r.Top; y < r.Bottom; ++y) {
    const std::uint8_t lines = HatchRow(Brush.Style, y / scale_);
    std::uint32_t* row = s.Row(y);
    for (int x = r.Left; x < r.Right; ++x) {
      if ((lines >> ((x / scale_) & 7)) & 1) {
        row[x] = ink;
      } else if (opaque) {
        row[x] = gapInk;
      }
    }
  }
}

void TCanvas::FillWithBrush(const Surface& s, const TRect& rect) const {
  const TRect r = raster::Intersect(rect, s.bounds);
  if (r.IsEmpty() || Brush.Style == bsClear) return;
  const std::uint32_t ink = ToPixel(ResolveColor(Brush.Color));
  if (Brush.Style == bsSolid) {
    raster::FillRect(s, r, ink, false);
    return;
  }
  std::optional<std::uint32_t> gapInk;
  if (BackgroundMode == bkOpaque) gapInk = ToPixel(ResolveColor(BackgroundColor));
  FillHatched(s, r, Brush.Style, ink, gapInk);
}
