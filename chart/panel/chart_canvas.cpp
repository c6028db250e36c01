// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/chart_canvas.h"

#include <QPainter>
#include <algorithm>

#include "chart/chart_math.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb Channels(TColor color) {
  const TColor plain = ResolveColor(color);
  return {static_cast<int>(plain & 0xFF), static_cast<int>((plain >> 8) & 0xFF),
          static_cast<int>((plain >> 16) & 0xFF)};
}

TColor BandColor(const Rgb& start, const Rgb& delta, int band, int bands) {
  // One band only: MulDiv would divide by zero, and the band is the start colour anyway.
  if (bands < 2) return static_cast<TColor>(start.r | (start.g << 8) | (start.b << 16));
  const int r = start.r + MulDiv(band, delta.r, bands - 1);
  const int g = start.g + MulDiv(band, delta.g, bands - 1);
  const int b = start.b + MulDiv(band, delta.b, bands - 1);
  return static_cast<TColor>(r | (g << 8) | (b << 16));
}

}  // namespace

void TChartCanvas3D::FillGradient(const TRect& rect, TColor start, TColor end,
                                  TGradientDirection direction) {
  TRect r{std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
          std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom)};
  const bool acrossColumns = direction == gdLeftRight || direction == gdRightLeft;
  const int extent = acrossColumns ? r.Width() : r.Height();
  if (r.Width() == 0 || r.Height() == 0) return;

  const Rgb s = Channels(start);
  const Rgb e = Channels(end);
  const Rgb d{e.r - s.r, e.g - s.g, e.b - s.b};
  const int bands = std::min(extent, 256);

  const TCanvasBrush saved = canvas_.Brush;
  canvas_.Brush.Style = bsSolid;
  TColor current = clNone;
  for (int k = 0; k < bands; ++k) {
    const TColor color = BandColor(s, d, k, bands);
    if (color != current) {  // a new brush only when the colour changes
      canvas_.Brush.Color = color;
      current = color;
    }
    // Band 0 lies at the start edge: bottom for top-to-bottom, which is how the panel paints.
    const int from = MulDiv(k + 1, extent, bands);
    const int to = MulDiv(k, extent, bands);
    switch (direction) {
      case gdBottomTop:
        canvas_.FillRect({r.Left, r.Top + to, r.Right, r.Top + from});
        break;
      case gdLeftRight:
        canvas_.FillRect({r.Right - from, r.Top, r.Right - to, r.Bottom});
        break;
      case gdRightLeft:
        canvas_.FillRect({r.Left + to, r.Top, r.Left + from, r.Bottom});
        break;
      default:  // gdTopBottom, and the directions this screen never uses
        canvas_.FillRect({r.Left, r.Bottom - from, r.Right, r.Bottom - to});
        break;
    }
  }
  canvas_.Brush = saved;
}

void TChartCanvas3D::UseChartPen(const TChartPen& pen) {
  TCanvasPen& p = canvas_.Pen;
  p.AlternatePixels = false;
  if (!pen.Visible()) {
    p.Style = psClear;
    return;
  }
  p.Color = pen.Color();
  if (pen.SmallDots() && pen.Width() == 1) {
    p.Style = psSolid;
    p.Width = 1;
    p.Mode = pmCopy;
    p.AlternatePixels = true;
    return;
  }
  p.Style = pen.Style();
  p.Width = pen.Width();
  p.Mode = pen.Mode();
}

void TChartCanvas3D::ResetCanvasState() {
  canvas_.Pen = TCanvasPen{};
  canvas_.Brush = TCanvasBrush{clWhite, bsSolid};
  canvas_.Font.Color = clBlack;
  canvas_.Font.Size = 10;
  canvas_.BackgroundColor = clWhite;
  canvas_.BackgroundMode = bkTransparent;
}

void TChartCanvas3D::Polyline(const int* xs, const int* ys, int count) {
  if (count <= 0) return;
  // Counted in blocks of a fixed size, which the compiler keeps in vectors.
  constexpr int kBlock = 16;
  int repeats = 0, k = 1;
  for (; k + kBlock <= count; k += kBlock) {
    const int* x = xs + k;
    const int* y = ys + k;
    for (int j = 0; j < kBlock; ++j)
      repeats += ((x[j] == x[j - 1]) & (y[j] == y[j - 1])) ? 1 : 0;
  }
  for (; k < count; ++k)
    repeats += ((xs[k] == xs[k - 1]) & (ys[k] == ys[k - 1])) ? 1 : 0;
  LinesDrawn += count - 1 - repeats;
  canvas_.Polyline(xs, ys, count);
}

void TChartCanvas3D::PutRotatedText(int cx, int cy, int angle, const QString& text) {
  QImage* image = canvas_.Target();
  if (image == nullptr || text.isEmpty() || !HasGuiApplication()) return;
  const int w = TextWidthOf(text), h = TextHeightOf(text);
  QPainter painter(image);
  // The painter already counts the image's own density; the canvas may draw at another.
  const qreal extra = canvas_.Scale() / image->devicePixelRatio();
  painter.scale(extra, extra);
  painter.setFont(canvas_.CurrentQFont());
  painter.setPen(ToQColor(canvas_.Font.Color));
  painter.translate(cx, cy);
  painter.rotate(-angle);
  painter.drawText(QRectF(-w / 2.0, -h / 2.0, w, h), Qt::AlignCenter, text);
}
