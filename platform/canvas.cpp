// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/canvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/canvas_font_cache.h"
#include "platform/raster_line.h"
#include "platform/raster_polyline.h"
#include "platform/raster_surface.h"
#include "platform/wide_divide.h"

namespace {

using raster::LinePen;
using raster::ScaleCoord;
using raster::ScaleRect;
using raster::Surface;
using raster::ToPixel;

struct Dashes {
  std::uint32_t pattern;  // bit k: pixel k of the period is drawn
  int period;
};

Dashes DashesOf(TPenStyle style) {
  switch (style) {
    case psDot:
      return {0b0011, 4};  // 2 on, 2 off
    case psDash:
      return {0b0011'1111, 8};  // 6 on, 2 off
    case psDashDot:
      return {0b0011'0011'1111, 12};  // 6 on, 2 off, 2 on, 2 off
    case psDashDotDot:
      return {0b0011'0011'0011'1111, 16};  // 6 on, 2 off, 2 on, 2 off, 2 on, 2 off
    default:
      return {1, 1};
  }
}

// Each place of the pattern held for `scale` device pixels, as far as 64 bits allow.
LinePen Stretched(const LinePen& pen, int scale) {
  const int stretch = std::max(1, std::min(scale, 64 / pen.period));
  LinePen p = pen;
  p.pattern = 0;
  for (int bit = 0; bit < pen.period; ++bit) {
    if ((pen.pattern >> bit) & 1u) {
      for (int j = 0; j < stretch; ++j)
        p.pattern |= std::uint64_t{1} << (bit * stretch + j);
    }
  }
  p.period = pen.period * stretch;
  return p;
}

// The pen as pixel values, or nothing for a clear pen (which wins over AlternatePixels: an
// invisible pen stays invisible).
std::optional<LinePen> ResolvePen(const TCanvasPen& pen, TBackgroundMode mode, TColor background) {
  if (pen.Style == psClear) return std::nullopt;
  LinePen p;
  p.notXor = pen.Mode == pmNotXor;
  const std::uint32_t ink = ToPixel(ResolveColor(pen.Color));
  const std::uint32_t gapInk = ToPixel(ResolveColor(background));
  p.ink = p.notXor ? raster::NotXorMask(ink) : ink;
  p.gapInk = p.notXor ? raster::NotXorMask(gapInk) : gapInk;
  if (pen.AlternatePixels) {
    p.pattern = 0b01;
    p.period = 2;
    return p;  // one pixel wide, gaps untouched whatever the background mode
  }
  p.width = std::max(pen.Width, 1);
  const Dashes dashes = DashesOf(pen.Style);
  p.pattern = dashes.pattern;
  p.period = dashes.period;
  // A wide pen's dashes grow with it, or a two-pixel dash would close its own gaps; its gaps
  // show what lies behind, whatever the background mode.
  p.fillGaps = mode == bkOpaque && p.width == 1;
  if (p.width > 1 && p.period > 1) p = Stretched(p, p.width);
  return p;
}

// Wide patterned pens are drawn as parallel one-pixel lines, as at high density.
bool WidePatterned(const LinePen& pen) {
  return pen.width > 1 && pen.period > 1;
}

// Columns [x0, x1) of row y, both clipped to the surface first.
void PutSpan(const Surface& s, std::int64_t y, std::int64_t x0, std::int64_t x1,
             const LinePen& pen) {
  if (y < s.bounds.Top || y >= s.bounds.Bottom) return;
  const int from = static_cast<int>(std::max<std::int64_t>(x0, s.bounds.Left));
  const int to = static_cast<int>(std::min<std::int64_t>(x1, s.bounds.Right));
  if (from >= to) return;
  std::uint32_t* row = s.Row(static_cast<int>(y));
  if (pen.notXor) {
    raster::PutRowSpan<true>(row, from, to, pen.ink);
  } else {
    raster::PutRowSpan<false>(row, from, to, pen.ink);
  }
}

// A wide outline: the union of the four edge bands, row by row, so that each pixel is written
// once even in not-xor mode.
void OutlineWide(const Surface& s, const TRect& r, const LinePen& pen) {
  const std::int64_t before = (pen.width - 1) / 2;
  const std::int64_t after = pen.width / 2;
  const std::int64_t left = r.Left, right = std::int64_t{r.Right} - 1;
  const std::int64_t top = r.Top, bottom = std::int64_t{r.Bottom} - 1;
  const std::int64_t yEnd = std::min<std::int64_t>(bottom + after + 1, s.bounds.Bottom);
  for (std::int64_t y = std::max<std::int64_t>(top - before, s.bounds.Top); y < yEnd; ++y) {
    const bool inTopBand = y <= top + after;
    const bool inBottomBand = y >= bottom - before;
    if (inTopBand || inBottomBand || left + after + 1 >= right - before) {
      PutSpan(s, y, left - before, right + after + 1, pen);
    } else {
      PutSpan(s, y, left - before, left + after + 1, pen);
      PutSpan(s, y, right - before, right + after + 1, pen);
    }
  }
}

// A rectangle's outline corners clockwise from the top-left one, back to it.
std::array<TPoint, 5> ClockwiseCorners(const TRect& r) {
  return {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top}, TPoint{r.Right - 1, r.Bottom - 1},
          TPoint{r.Left, r.Bottom - 1}, TPoint{r.Left, r.Top}};
}

// A one-pixel outline walked clockwise from the top-left corner, each pixel once, the pattern
// running on around the corners.
void OutlineThin(const Surface& s, const TRect& r, const LinePen& pen) {
  if (r.Width() == 1) {
    raster::DrawLine(s, {r.Left, r.Top}, {r.Left, r.Bottom}, pen);
    return;
  }
  if (r.Height() == 1) {
    raster::DrawLine(s, {r.Left, r.Top}, {r.Right, r.Top}, pen);
    return;
  }
  const std::array<TPoint, 5> corners = ClockwiseCorners(r);
  int phase = 0;
  for (std::size_t i = 0; i < 4; ++i)
    phase = raster::DrawLine(s, corners[i], corners[i + 1], pen, phase);
}

bool IsDrawable(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// A solid pen `scale` times as wide, and where its line must run so that the squares it stamps
// cover the device blocks of the logical pen's squares.
struct WidePen {
  LinePen pen;
  int shift;
};

WidePen Widened(const LinePen& pen, int scale) {
  WidePen w{pen, 0};
  w.pen.width = pen.width * scale;
  w.shift = scale * (-((pen.width - 1) / 2)) + (w.pen.width - 1) / 2;
  return w;
}

}  // namespace

// Filling is in canvas_fill.cpp, text in canvas_text.cpp.

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QImage* image) {
  SetTarget(image);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetTarget(QImage* image) {
  image_ = image;
  bits_ = nullptr;
}

qreal PaintDeviceRatio(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* device = engine != nullptr && engine->paintDevice() != nullptr
                                   ? engine->paintDevice()
                                   : painter.device();
  return device != nullptr ? device->devicePixelRatioF() : 1.0;
}

void TCanvas::SetScale(int scale) {
  scale_ = std::max(1, scale);
}

bool TCanvas::PrepareSurface(Surface& surface, bool clipped) {
  if (!image_ || image_->isNull()) return false;
  if (!IsDrawable(image_->format())) image_->convertTo(QImage::Format_RGB32);
  const auto* owned = reinterpret_cast<const std::uint32_t*>(image_->constBits());
  if (owned != bits_ || !image_->isDetached()) {
    bits_ = reinterpret_cast<std::uint32_t*>(image_->bits());
  }
  surface.bits = bits_;
  surface.stride = image_->bytesPerLine() / 4;
  surface.bounds = TRect{0, 0, image_->width(), image_->height()};
  if (clipped && hasClip_) {
    surface.bounds =
        raster::Intersect(surface.bounds, scale_ == 1 ? clip_ : ScaleRect(clip_, scale_));
  }
  return !surface.bounds.IsEmpty();
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = {x, y};
  const std::optional<LinePen> pen = ResolvePen(Pen, BackgroundMode, BackgroundColor);
  Surface s;
  if (!pen || !PrepareSurface(s)) return;
  if (scale_ > 1 || WidePatterned(*pen)) {
    ScaledLine(s, from, penPos_, *pen);
    return;
  }
  raster::DrawLine(s, from, penPos_, *pen);
}

void TCanvas::Polyline(const int* xs, const int* ys, int count) {
  if (count <= 0) return;
  penPos_ = {xs[count - 1], ys[count - 1]};
  const std::optional<LinePen> pen = ResolvePen(Pen, BackgroundMode, BackgroundColor);
  Surface s;
  if (!pen || !PrepareSurface(s)) return;
  if (scale_ > 1 || WidePatterned(*pen)) {
    for (int k = 1; k < count; ++k)
      ScaledLine(s, {xs[k - 1], ys[k - 1]}, {xs[k], ys[k]}, *pen);
    return;
  }
  raster::DrawPolyline(s, xs, ys, count, *pen);
}

void TCanvas::Segments(const TPoint* ends, int pairs) {
  if (pairs <= 0) return;
  penPos_ = ends[2 * pairs - 1];
  const std::optional<LinePen> pen = ResolvePen(Pen, BackgroundMode, BackgroundColor);
  Surface s;
  if (!pen || !PrepareSurface(s)) return;
  for (int k = 0; k < 2 * pairs; k += 2) {
    if (scale_ > 1 || WidePatterned(*pen)) {
      ScaledLine(s, ends[k], ends[k + 1], *pen);
    } else {
      raster::DrawLine(s, ends[k], ends[k + 1], *pen);
    }
  }
}

void TCanvas::VertLines(const int* xs, int count, int y0, int y1) {
  if (count <= 0) return;
  penPos_ = {xs[count - 1], y1};
  const std::optional<LinePen> pen = ResolvePen(Pen, BackgroundMode, BackgroundColor);
  Surface s;
  if (!pen || !PrepareSurface(s)) return;
  if (scale_ > 1 || WidePatterned(*pen)) {
    for (int k = 0; k < count; ++k)
      ScaledLine(s, {xs[k], y0}, {xs[k], y1}, *pen);
    return;
  }
  if (pen->width > 1) {
    for (int k = 0; k < count; ++k)
      raster::DrawLine(s, {xs[k], y0}, {xs[k], y1}, *pen);
    return;
  }
  raster::DrawVertLines(s, xs, count, y0, y1, *pen);
}

void TCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  Surface s;
  if (x0 == x1 || y0 == y1 || !PrepareSurface(s)) return;
  const std::optional<LinePen> pen = ResolvePen(Pen, BackgroundMode, BackgroundColor);
  if (scale_ > 1 || (pen && WidePatterned(*pen))) {
    ScaledRectangle(s, TRect{x0, y0, x1, y1}, pen ? &*pen : nullptr);
    return;
  }
  if (Brush.Style != bsClear) {
    FillWithBrush(s, pen ? TRect{x0 + 1, y0 + 1, x1 - 1, y1 - 1} : TRect{x0, y0, x1 - 1, y1 - 1});
  }
  if (!pen) return;
  if (pen->width > 1) {
    OutlineWide(s, TRect{x0, y0, x1, y1}, *pen);
  } else {
    OutlineThin(s, TRect{x0, y0, x1, y1}, *pen);
  }
}

// Patterned pens: one one-pixel line per device row (or column) of the logical line's
// thickness, the pattern stretched to match, so a straight line covers its blocks exactly.
// Solid pens: one wide line, shortened so that its last square ends where the last logical
// pixel's block does.
int TCanvas::ScaledLine(const Surface& s, TPoint from, TPoint to, const LinePen& pen,
                        int phase) const {
  const int k = scale_;
  const std::int64_t dx = std::int64_t{to.X} - from.X, dy = std::int64_t{to.Y} - from.Y;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const std::int64_t length = std::max(std::abs(dx), std::abs(dy));
  const int next = static_cast<int>((phase + length % pen.period) % pen.period);
  if (length == 0) return next;
  const std::int64_t x0 = std::int64_t{from.X} * k, y0 = std::int64_t{from.Y} * k;
  if (pen.period > 1) {
    LinePen p = Stretched(pen, k);
    p.width = 1;
    const int stretch = p.period / pen.period;
    // Going left or up, the walk starts from the far side of the first pixel's block.
    const std::int64_t back = (xMajor ? dx : dy) < 0 ? k - 1 : 0;
    // A wide pen: one line per device row of its square, -(w - 1) / 2 .. w / 2 around the line.
    for (int j = -((pen.width - 1) / 2) * k; j < (pen.width / 2 + 1) * k; ++j) {
      const std::int64_t ox = xMajor ? back : j, oy = xMajor ? j : back;
      raster::DrawLine64(s, x0 + ox, y0 + oy, x0 + k * dx + ox, y0 + k * dy + oy, p,
                         phase * stretch);
    }
    return next;
  }
  const WidePen w = Widened(pen, k);
  const std::int64_t n = k * std::max(std::abs(dx), std::abs(dy));
  const std::int64_t m = n - (k - 1);  // device pixels along the major axis
  std::int64_t ex, ey;
  if (xMajor) {
    ex = x0 + (dx < 0 ? -m : m);
    ey = y0 + raster::HalfStepOffset(m, k * dy, n).quot;
  } else {
    ey = y0 + (dy < 0 ? -m : m);
    ex = x0 + raster::HalfStepOffset(m, k * dx, n).quot;
  }
  raster::DrawLine64(s, x0 + w.shift, y0 + w.shift, ex + w.shift, ey + w.shift, w.pen);
  return next;
}

void TCanvas::ScaledRectangle(const Surface& s, const TRect& r, const LinePen* pen) {
  const int k = scale_;
  if (Brush.Style != bsClear) {
    ScaledFill(s, pen ? TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                      : TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1});
  }
  if (pen == nullptr) return;
  if (r.Width() == 1 || r.Height() == 1) {  // the outline is one line
    ScaledLine(s, {r.Left, r.Top},
               r.Width() == 1 ? TPoint{r.Left, r.Bottom} : TPoint{r.Right, r.Top}, *pen);
    return;
  }
  if (pen->period > 1) {
    // The four edges clockwise, each logical pixel once, the pattern running on around the
    // corners as at 1×.
    const std::array<TPoint, 5> corners = ClockwiseCorners(r);
    int phase = 0;
    for (std::size_t i = 0; i < 4; ++i)
      phase = ScaledLine(s, corners[i], corners[i + 1], *pen, phase);
    return;
  }
  const WidePen w = Widened(*pen, k);
  const TRect last = ScaleRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, k);
  OutlineWide(s,
              {last.Left + w.shift, last.Top + w.shift, last.Right + w.shift + 1,
               last.Bottom + w.shift + 1},
              w.pen);
}

void TCanvas::IntersectClipRect(const TRect& rect) {
  clip_ = raster::Intersect(hasClip_ ? clip_ : rect, rect);
  hasClip_ = true;
}

void TCanvas::RemoveClip() {
  hasClip_ = false;
  clip_ = TRect{};
}

void TCanvas::Draw(int x, int y, const QImage& source) {
  Surface s;
  if (source.isNull() || !PrepareSurface(s, false)) return;
  if (scale_ > 1) {
    x = ScaleCoord(x, scale_);
    y = ScaleCoord(y, scale_);
  }
  const TRect placed{
      x, y, static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + source.width(), INT_MAX)),
      static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + source.height(), INT_MAX))};
  const TRect dst = raster::Intersect(placed, s.bounds);
  if (dst.IsEmpty()) return;
  int sx = dst.Left - x;
  int sy = dst.Top - y;
  const QImage* from = &source;
  QImage converted;
  // Another format is converted once; the target itself is copied first as rows may overlap.
  if (source.format() != image_->format() || source.constBits() == image_->constBits()) {
    converted = source.copy(sx, sy, dst.Width(), dst.Height()).convertToFormat(image_->format());
    from = &converted;
    sx = sy = 0;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(dst.Width()) * 4;
  for (int row = 0; row < dst.Height(); ++row) {
    const uchar* line = from->constScanLine(sy + row) + static_cast<std::size_t>(sx) * 4;
    std::memcpy(s.Row(dst.Top + row) + dst.Left, line, rowBytes);
  }
}
