// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/custom_chart_panel.h"

#include <QPaintEvent>
#include <QPainter>

#include "chart/chart_math.h"
#include "chart/panel/event_shield.h"

TCustomChartPanel::TCustomChartPanel(QWidget* parent) : QWidget(parent) {
  // The chart paints every pixel itself: no background fill before a paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  resize(400, 250);
  gradient_.OnChange = [this] { InvalidateChart(); };
}

TCustomChartPanel::~TCustomChartPanel() = default;

void TCustomChartPanel::SetBufferedDisplay(bool buffered) {
  if (buffered == canvas_.BufferedDisplay) return;
  canvas_.BufferedDisplay = buffered;
  if (!buffered) {
    canvas_.BufferImage.reset();
    canvas_.BufferDirty = true;
  }
  InvalidateChart();
}

void TCustomChartPanel::InvalidateChart() {
  if (repaintsSuppressed_) return;
  canvas_.BufferDirty = true;
  // One request per paint is enough: the window system merges them anyway, and a recomputation
  // asks a thousand times.
  if (!updatePending_) {
    updatePending_ = true;
    update();
  }
}

void TCustomChartPanel::RepaintChartNow() {
  InvalidateChart();
  repaint();
}

void TCustomChartPanel::NormalizePlotRect() {
  TRect& r = PlotRect;
  r.Left = std::max(r.Left, PanelBounds.Left);
  r.Top = std::max(r.Top, PanelBounds.Top);
  if (r.Right < r.Left) {
    r.Right = r.Left + 1;
  } else if (r.Right == r.Left) {
    r.Right = r.Left + width();
  }
  if (r.Bottom < r.Top) {
    r.Bottom = r.Top + 1;
  } else if (r.Bottom == r.Top) {
    r.Bottom = r.Top + height();
  }
}

int TCustomChartPanel::DeviceScale(qreal ratio) {
  return std::max(1, qRound(ratio));
}

void TCustomChartPanel::PaintChart(TCanvas* target, const TRect& rect) {
  PaintChartAt(target, rect, target != nullptr ? target->Scale() : paintScale_);
}

void TCustomChartPanel::PaintChartAt(TCanvas* target, const TRect& rect, int scale) {
  const int w = rect.Width();
  const int h = rect.Height();
  canvas_.Surface().SetScale(scale);
  if (canvas_.BufferedDisplay) {
    auto& image = canvas_.BufferImage;
    const int iw = std::max(w, 1) * scale, ih = std::max(h, 1) * scale;
    if (image && (image->width() != iw || image->height() != ih)) image.reset();
    if (!image) {
      image = std::make_unique<QImage>(iw, ih, QImage::Format_RGB32);
      image->setDevicePixelRatio(scale);
    }
    canvas_.SetSurface(image.get());
    PanelBounds = {0, 0, w, h};
  } else {
    canvas_.SetSurface(target != nullptr ? target->Target() : nullptr);
    PanelBounds = rect;
  }

  canvas_.LinesDrawn = 0;
  const int b = borderWidth_;
  PlotRect = {PanelBounds.Left + b + MulDiv(marginLeft_, w, 100),
              PanelBounds.Top + b + MulDiv(marginTop_, h, 100),
              PanelBounds.Right - b - MulDiv(marginRight_, w, 100),
              PanelBounds.Bottom - b - MulDiv(marginBottom_, h, 100)};
  NormalizePlotRect();

  DrawChart();

  if (canvas_.BufferedDisplay) {
    if (target != nullptr) target->Draw(rect.Left, rect.Top, *canvas_.BufferImage);
    canvas_.BufferDirty = false;
  }
  canvas_.SetSurface(nullptr);
}

void TCustomChartPanel::DrawChart() {
  DrawPanelBackground();
  DrawPanelFrame();
}

void TCustomChartPanel::DrawPanelBackground() {
  if (gradient_.Visible()) {
    canvas_.FillGradient(PanelBounds, gradient_.StartColor(), gradient_.EndColor(),
                         gradient_.Direction());
  } else {
    canvas_.Brush() = {color_, bsSolid};
    canvas_.FillSolid(PanelBounds);
  }
}

// One bevel ring after another, each one pixel inside the last: light on the top and left,
// dark on the bottom and right for a raised cut.
void TCustomChartPanel::DrawBevel(TRect& rect, TBevelCut cut) {
  if (cut == bvNone) return;
  const TColor light = cut == bvLowered ? clBtnShadow : clBtnHighlight;
  const TColor dark = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  TCanvas& c = canvas_.Surface();
  for (int ring = 0; ring < bevelWidth_; ++ring) {
    const int l = rect.Left, t = rect.Top, r = rect.Right - 1, bottom = rect.Bottom - 1;
    c.Pen.Color = cut == bvSpace ? color_ : light;
    c.MoveTo(l, bottom);
    c.LineTo(l, t);
    c.LineTo(r, t);
    c.Pen.Color = cut == bvSpace ? color_ : dark;
    c.LineTo(r, bottom);
    c.LineTo(l - 1, bottom);
    rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
  }
}

void TCustomChartPanel::DrawPanelFrame() {
  TCanvas& c = canvas_.Surface();
  c.Pen = TCanvasPen{};  // solid, one pixel, copy
  c.Brush.Style = bsClear;
  TRect r = PanelBounds;
  DrawBevel(r, bevelOuter_);
  c.Pen.Color = color_;
  for (int i = 0; i < borderWidth_; ++i) {
    c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  DrawBevel(r, bevelInner_);
}

void TCustomChartPanel::paintEvent(QPaintEvent*) {
  updatePending_ = false;
  QPainter screen(this);
  Shielded("paintEvent", [&] {
    // The density of what is painted on: the screen's backing store, or a grab's pixmap.
    const int scale = DeviceScale(PaintDeviceRatio(screen));
    if (scale != paintScale_) {
      paintScale_ = scale;
      canvas_.BufferDirty = true;
    }
    if (canvas_.BufferedDisplay) {
      if (canvas_.BufferDirty || !canvas_.BufferImage) PaintChart(nullptr, ClientRect());
      if (canvas_.BufferImage) screen.drawImage(0, 0, *canvas_.BufferImage);
      return;
    }
    QImage image(std::max(width(), 1) * scale, std::max(height(), 1) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    TCanvas direct(&image);
    direct.SetScale(scale);
    PaintChart(&direct, ClientRect());
    screen.drawImage(0, 0, image);
  });
}

void TCustomChartPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  InvalidateChart();  // the image is rebuilt at the new size on the next paint
}

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget* parent) : TCustomChartPanel(parent) {}

void TCustomChartPanelExtended::ResetZoom() {
  if (OnUndoZoom) OnUndoZoom(this);
  emit ZoomUndone(this);
  InvalidateChart();
}
