// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pixel level under TCanvas: a 32-bit image as rows of pixels, and the few ways a pixel
// is written. Nothing here knows about pens or brushes.

#include <QtGlobal>
#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"

namespace raster {

// A plain colour 0x00BBGGRR as an opaque pixel of a 32-bit image (0xFFRRGGBB).
constexpr std::uint32_t ToPixel(TColor plain) {
  return 0xFF000000u | ((plain & 0xFFu) << 16) | (plain & 0xFF00u) | ((plain >> 16) & 0xFFu);
}

// Not-xor mode writes ~(ink ^ pixel) per channel, which is pixel ^ ~ink: xoring the mask
// below leaves the pixel's alpha alone and undoes itself when drawn twice.
constexpr std::uint32_t NotXorMask(std::uint32_t ink) {
  return ~ink & 0x00FFFFFFu;
}

inline TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) r = TRect{r.Left, r.Top, r.Left, r.Top};
  return r;
}

// A logical coordinate as a device one, kept well inside the int range: what lies that far off
// the image is never drawn anyway.
inline int ScaleCoord(std::int64_t v, int scale) {
  return static_cast<int>(std::clamp<std::int64_t>(v * scale, -(1LL << 30), 1LL << 30));
}

inline TRect ScaleRect(const TRect& r, int scale) {
  return {ScaleCoord(r.Left, scale), ScaleCoord(r.Top, scale), ScaleCoord(r.Right, scale),
          ScaleCoord(r.Bottom, scale)};
}

struct Surface {
  std::uint32_t* bits = nullptr;
  qsizetype stride = 0;  // pixels from one row to the next
  TRect bounds;          // the only pixels that may be written: the image within the clip

  std::uint32_t* Row(int y) const { return bits + y * stride; }
};

// Copy mode stores the value; not-xor mode xors the value, which is then a NotXorMask.
template <bool kXor>
inline void Put(std::uint32_t& pixel, std::uint32_t value) {
  if constexpr (kXor) {
    pixel ^= value;
  } else {
    pixel = value;
  }
}

// Stores `value` in pixels [0, count): the hot loop of every solid fill, vectorised by hand
// because a plain loop stays scalar at -O2.
void FillPixels(std::uint32_t* pixels, qsizetype count, std::uint32_t value);

// Pixels [x0, x1) of one row; the caller has clipped them.
template <bool kXor>
inline void PutRowSpan(std::uint32_t* row, int x0, int x1, std::uint32_t value) {
  if constexpr (kXor) {
    for (int x = x0; x < x1; ++x)
      row[x] ^= value;
  } else {
    FillPixels(row + x0, x1 - x0, value);
  }
}

// Every pixel of `rect` clipped to the surface bounds.
inline void FillRect(const Surface& s, const TRect& rect, std::uint32_t value, bool notXor) {
  const TRect r = Intersect(rect, s.bounds);
  if (!notXor && r.Width() == s.stride) {  // whole rows lie end to end: one run
    FillPixels(s.Row(r.Top), qsizetype{r.Width()} * r.Height(), value);
    return;
  }
  for (int y = r.Top; y < r.Bottom; ++y) {
    if (notXor) {
      PutRowSpan<true>(s.Row(y), r.Left, r.Right, value);
    } else {
      PutRowSpan<false>(s.Row(y), r.Left, r.Right, value);
    }
  }
}

}  // namespace raster
