// SPDX-License-Identifier: GPL-3.0-or-later
// TCanvas's text: laid out once per face and text, rendered once per colour and scale, blended
// on every paint.
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "platform/canvas.h"
#include "platform/canvas_font_cache.h"
#include "platform/raster_surface.h"

// The fuzzers' coverage tracing costs more than the work in a per-pixel loop whose branches
// tell them nothing new; sanitizers stay on.
#if defined(__clang__) && __clang_major__ >= 13
#define SIMHACHEUR_PIXEL_LOOP __attribute__((no_sanitize("coverage")))
#else
#define SIMHACHEUR_PIXEL_LOOP
#endif

namespace {

using raster::ScaleCoord;
using raster::ScaleRect;
using raster::Surface;
using raster::ToPixel;

// The top-left corner of a w × h text box whose reference point (x, y) `align` places.
TPoint TextBoxOrigin(int x, int y, int w, int h, int align) {
  switch (align & taCenter) {
    case taRight:
      x -= w;
      break;
    case taCenter:
      x -= w / 2;
      break;
    default:
      break;
  }
  if (align & taBottom) y -= h;
  return {x, y};
}

bool SameFace(const TCanvasFont& a, const TCanvasFont& b) {
  return a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic && a.Name == b.Name;
}

}  // namespace

QFont TCanvas::CurrentQFont() const {
  QFont font(Font.Name);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(Font.Size * 96.0 / 72.0))));
  font.setBold(Font.Bold);
  font.setItalic(Font.Italic);
  return font;
}

TCanvas::TFontCache& TCanvas::FontCache() const {
  if (fontCache_ != nullptr && SameFace(fontCache_->face, Font)) return *fontCache_;
  fontCache_ = nullptr;
  for (const auto& cache : fontCaches_) {
    if (SameFace(cache->face, Font)) fontCache_ = cache.get();
  }
  if (fontCache_ == nullptr) {
    fontCaches_.push_back(std::make_unique<TFontCache>(Font, CurrentQFont()));
    fontCache_ = fontCaches_.back().get();
  }
  return *fontCache_;
}

int TCanvas::TextWidth(const QString& text) const {
  if (!HasGuiApplication()) return 0;
  return FontCache().LaidOut(text).width;
}

int TCanvas::TextHeight(const QString&) const {
  if (!HasGuiApplication()) return 0;
  return FontCache().height;
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  Surface s;
  if (text.isEmpty() || !HasGuiApplication() || !PrepareSurface(s)) return;
  TFontCache& cache = FontCache();
  const TFontCache::TLaidOut& laidOut = cache.LaidOut(text);
  const int w = laidOut.width;
  const int h = cache.height;
  const TPoint box = TextBoxOrigin(x, y, w, h, TextAlign);
  if (BackgroundMode == bkOpaque) {
    const TRect back{box.X, box.Y, box.X + w, box.Y + h};
    raster::FillRect(s, scale_ == 1 ? back : ScaleRect(back, scale_),
                     ToPixel(ResolveColor(BackgroundColor)), false);
  }
  QRect inked;
  const QImage& ink = Ink(cache, text, inked);
  const TPoint corner{box.X - TFontCache::kInkMargin, box.Y};
  BlendInk(
      s, scale_ == 1 ? corner : TPoint{ScaleCoord(corner.X, scale_), ScaleCoord(corner.Y, scale_)},
      ink, inked);
}

// The text's glyphs as a premultiplied image whose left edge lies kInkMargin pixels before the
// text box, rendered on first use in the current font colour.
// Blending skips the empty margins and the room above and below the glyphs.
QRect TCanvas::InkedPart(const QImage& ink) {
  QRect part;
  for (int y = 0; y < ink.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
    for (int x = 0; x < ink.width(); ++x) {
      if (qAlpha(row[x]) != 0) part |= QRect(x, y, 1, 1);
    }
  }
  return part;
}

const QImage& TCanvas::Ink(TFontCache& cache, const QString& text, QRect& inked) const {
  TFontCache::TLaidOut& laidOut = const_cast<TFontCache::TLaidOut&>(cache.LaidOut(text));
  if (laidOut.inkColour != Font.Color || laidOut.inkScale != scale_ || laidOut.ink.isNull()) {
    const int margin = TFontCache::kInkMargin;
    // At a higher scale the glyphs are rendered at the device's size from the same layout, so
    // the text keeps its logical extents and gains the detail.
    laidOut.ink = QImage((laidOut.width + 2 * margin) * scale_, cache.height * scale_,
                         QImage::Format_ARGB32_Premultiplied);
    laidOut.ink.fill(Qt::transparent);
    QPainter painter(&laidOut.ink);
    if (scale_ > 1) painter.scale(scale_, scale_);
    painter.setFont(cache.font);
    painter.setPen(ToQColor(Font.Color));
    // A laid-out text is placed by the top of its line: the baseline lands at top + ascent.
    painter.drawStaticText(QPointF(margin, cache.ascent - cache.metrics.ascent()), laidOut.text);
    painter.end();
    laidOut.inkColour = Font.Color;
    laidOut.inkScale = scale_;
    laidOut.inked = InkedPart(laidOut.ink);
  }
  inked = laidOut.inked;
  return laidOut.ink;
}

// Source-over blending of the premultiplied ink onto the surface, inside its bounds.
SIMHACHEUR_PIXEL_LOOP void TCanvas::BlendInk(const Surface& s, TPoint corner, const QImage& ink,
                                             const QRect& inked) {
  if (inked.isEmpty()) return;
  const int left = corner.X, top = corner.Y;
  const TRect r = raster::Intersect(
      {left + inked.left(), top + inked.top(), left + inked.right() + 1, top + inked.bottom() + 1},
      s.bounds);
  for (int y = r.Top; y < r.Bottom; ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(ink.constScanLine(y - top)) + (r.Left - left);
    std::uint32_t* to = s.Row(y) + r.Left;
    for (int x = 0; x < r.Width(); ++x) {
      const std::uint32_t src = from[x];
      const std::uint32_t alpha = src >> 24;
      if (alpha == 0) continue;
      if (alpha == 255) {
        to[x] = src;
        continue;
      }
      // dst × (255 − alpha) / 255 for red and blue, then green, two channels per multiply.
      const std::uint32_t keep = 255 - alpha, dst = to[x];
      std::uint32_t rb = (dst & 0xFF00FFu) * keep + 0x800080u;
      rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
      std::uint32_t g = (dst & 0x00FF00u) * keep + 0x008000u;
      g = ((g + ((g >> 8) & 0x00FF00u)) >> 8) & 0x00FF00u;
      to[x] = 0xFF000000u | ((src & 0xFFFFFFu) + rb + g);
    }
  }
}
