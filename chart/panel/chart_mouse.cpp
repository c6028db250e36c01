// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's own mouse handling: clicks, zooming, panning, the wheel.
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>

#include "chart/panel/custom_chart.h"
#include "chart/panel/event_shield.h"

namespace {

constexpr Qt::MouseButton kZoomButton = Qt::LeftButton;
constexpr Qt::MouseButton kPanButton = Qt::RightButton;
constexpr double kZoomStepDivisor = 3.0;
constexpr int kMinimumDrag = 16;  // pixels, in both directions

TShiftState ShiftOf(const QMouseEvent* event, bool doubleClick = false) {
  return {event->modifiers(), event->buttons(), doubleClick};
}

int X(const QMouseEvent* event) {
  return static_cast<int>(event->position().x());
}
int Y(const QMouseEvent* event) {
  return static_cast<int>(event->position().y());
}

}  // namespace

void TCustomChart::EndLoading() {
  TCustomAxisPanel::EndLoading();
  restCursor_ = cursor();
}

// ---------------------------------------------------------------------------------------------
// Classifying a press

TChartClickedPart TCustomChart::ClassifyClick(int x, int y) {
  TChartClickedPart result;
  const auto& series = SeriesList();
  for (auto it = series.rbegin(); it != series.rend(); ++it) {
    if (!(*it)->Active()) continue;
    const int index = (*it)->PointAtPixel(x, y);
    if (index != -1) {
      result.Part = cpSeries;
      result.ASeries = *it;
      result.PointIndex = index;
      return result;
    }
  }
  for (const auto& axis : Axes()) {
    if (axis->AxisHitTest(x, y)) {
      result.Part = cpAxis;
      result.AAxis = axis.get();
      return result;
    }
  }
  if (Title.HitTest(x, y)) {
    result.Part = cpTitle;
  } else if (Foot.HitTest(x, y)) {
    result.Part = cpFoot;
  } else if (PlotRect.Contains(x, y) && HasActiveSeries()) {
    result.Part = cpChartRect;
  }
  // The legend is never shown on this chart: it cannot be hit.
  return result;
}

// ---------------------------------------------------------------------------------------------
// Press

bool TCustomChart::RaiseClick(const TChartClick& event, Qt::MouseButton button, TShiftState shift,
                              int x, int y) {
  if (!event) return false;
  MouseConsumed = true;
  event(this, button, shift, x, y);
  return MouseConsumed;
}

bool TCustomChart::TryStartDrag(Qt::MouseButton button, int x, int y) {
  bool started = false;
  if (AllowZoom() && button == kZoomButton) {
    setCursor(Qt::ArrowCursor);
    ZoomState.BeginTracking(x, y);
    DrawZoomRectangle();
    started = true;
  }
  if (AllowPanning() != pmNone && button == kPanButton) {
    setCursor(Qt::ArrowCursor);
    PanState.BeginTracking(x, y);
    started = true;
  }
  return started;
}

void TCustomChart::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
  if (ZoomState.IsActive || PanState.IsActive) return;  // a second press during a drag
  if (MouseConsumed) {
    MouseConsumed = false;
    return;
  }
  bool consumed = false;
  const TChartClickedPart part = ClassifyClick(x, y);
  switch (part.Part) {
    case cpLegend:
      consumed = RaiseClick(OnClickLegend, button, shift, x, y);
      break;
    case cpAxis:
      if (OnClickAxis) {
        MouseConsumed = true;
        OnClickAxis(this, part.AAxis, button, shift, x, y);
        consumed = MouseConsumed;
      }
      if (!consumed) consumed = TryStartDrag(button, x, y);
      break;
    case cpSeries:
      consumed = part.ASeries->Clicked(part.PointIndex, button, shift, x, y, MouseConsumed);
      if (OnClickSeries) {
        MouseConsumed = true;
        OnClickSeries(this, part.ASeries, part.PointIndex, button, shift, x, y);
        consumed = MouseConsumed;
      }
      if (!consumed) consumed = TryStartDrag(button, x, y);
      break;
    case cpChartRect:
      consumed = RaiseClick(OnClickBackground, button, shift, x, y);
      if (!consumed) consumed = TryStartDrag(button, x, y);
      break;
    default:
      break;
  }
  // Elsewhere, a press nothing consumed is a press on the background (raised once at most).
  if (part.Part != cpChartRect && !consumed) RaiseClick(OnClickBackground, button, shift, x, y);
  MouseConsumed = false;
}

// ---------------------------------------------------------------------------------------------
// Move

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
  if (ZoomState.IsActive) {
    if (x == ZoomState.EndX && y == ZoomState.EndY) return;
    DrawZoomRectangle();  // erases the old one
    ZoomState.EndX = x;
    ZoomState.EndY = y;
    DrawZoomRectangle();
    return;
  }
  if (PanState.IsActive) {
    if (!PlotRect.Contains(x, y)) {
      PanState.IsActive = false;  // panning ends when the pointer leaves the plot
      return;
    }
    if (x == PanState.EndX && y == PanState.EndY) return;
    if (scalesUntouched_) SaveScales();
    const bool horizontal = PanAxes(true, x, PanState.EndX);
    const bool vertical = PanAxes(false, y, PanState.EndY);
    PanState.EndX = x;
    PanState.EndY = y;
    if (horizontal || vertical) {
      if (OnScroll) OnScroll(this);
      emit Scrolled(this);
      InvalidateChart();
    }
    return;
  }
  for (TChartSeries* s : SeriesList()) {
    if (s->Active() && s->Cursor != crDefault && s->PointAtPixel(x, y) != -1) {
      setCursor(ToQtCursor(s->Cursor));
      return;
    }
  }
  setCursor(restCursor_);
}

// The data follows the pointer: dragging to the right lowers the horizontal range.
bool TCustomChart::PanAxes(bool horizontal, int now, int old) {
  if (now == old) return false;
  const TPanningMode wanted = horizontal ? pmHorizontal : pmVertical;
  if (AllowPanning() != wanted && AllowPanning() != pmBoth) return false;
  for (const auto& axis : Axes()) {
    if (axis->IsDepth() || axis->IsHorizontal() != horizontal) continue;
    const double delta = axis->PixelToValue(old) - axis->PixelToValue(now);
    double min = axis->Minimum() + delta;
    double max = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(axis.get(), min, max, allow);
    if (allow) axis->SetAxisRange(min, max);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Release

void TCustomChart::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  if (ZoomState.IsActive && button == kZoomButton) {
    ZoomState.IsActive = false;
    DrawZoomRectangle();  // erases the last rectangle
    ZoomState.EndX = x;
    ZoomState.EndY = y;
    const int dx = ZoomState.EndX - ZoomState.StartX;
    const int dy = ZoomState.EndY - ZoomState.StartY;
    if (std::abs(dx) > kMinimumDrag && std::abs(dy) > kMinimumDrag) {
      if (dx > 0 && dy > 0) {
        ZoomToRectangle();
      } else {
        ResetZoom();
      }
      InvalidateChart();
    }
  }
  PanState.IsActive = false;
  setCursor(restCursor_);
}

// ---------------------------------------------------------------------------------------------
// Zoom

std::array<TChartAxis*, 4> TCustomChart::SavedAxes() {
  return {&TopAxis(), &LeftAxis(), &RightAxis(), &BottomAxis()};
}

void TCustomChart::SaveScales() {
  const auto axes = SavedAxes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis& a = *axes[i];
    savedAxisScales_[i] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(),
                           a.Maximum()};
  }
  scalesUntouched_ = false;
}

void TCustomChart::ZoomToRectangle() {
  ZoomState.NormalizeCorners();
  const TZoomPanningRecord& z = ZoomState;
  ApplyZoom(TopAxis().PixelToValue(z.StartX), TopAxis().PixelToValue(z.EndX),
            BottomAxis().PixelToValue(z.StartX), BottomAxis().PixelToValue(z.EndX),
            LeftAxis().PixelToValue(z.EndY), LeftAxis().PixelToValue(z.StartY),
            RightAxis().PixelToValue(z.EndY), RightAxis().PixelToValue(z.StartY));
}

void TCustomChart::ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax,
                             double leftMin, double leftMax, double rightMin, double rightMax) {
  if (scalesUntouched_) SaveScales();
  struct Target {
    TChartAxis* axis;
    double min, max;
  };
  const Target targets[] = {{&LeftAxis(), leftMin, leftMax},
                            {&RightAxis(), rightMin, rightMax},
                            {&TopAxis(), topMin, topMax},
                            {&BottomAxis(), bottomMin, bottomMax}};
  if (AnimatedZoom()) {
    // Each step covers a third of the distance that remains.
    for (int step = 1; step < AnimatedZoomSteps(); ++step) {
      for (const Target& t : targets) {
        TChartAxis& a = *t.axis;
        a.SetAxisRange(a.Minimum() + (t.min - a.Minimum()) / kZoomStepDivisor,
                       a.Maximum() - (a.Maximum() - t.max) / kZoomStepDivisor);
      }
      RepaintChartNow();
    }
  }
  for (const Target& t : targets)
    t.axis->SetAxisRange(t.min, t.max);
  if (OnZoom) OnZoom(this);
  emit Zoomed(this);
}

void TCustomChart::ResetZoom() {
  if (!scalesUntouched_) {
    // Restored in the order top, bottom, left, right.
    const std::size_t order[] = {0, 3, 1, 2};
    const auto axes = SavedAxes();
    for (std::size_t i : order) {
      TChartAxis& a = *axes[i];
      const TSavedScale& s = savedAxisScales_[i];
      a.SetAutomatic(s.automatic);
      a.SetAutomaticMinimum(s.automaticMinimum);
      a.SetAutomaticMaximum(s.automaticMaximum);
      if (!a.Automatic()) a.SetAxisRange(s.minimum, s.maximum);
    }
  }
  scalesUntouched_ = true;
  TCustomAxisPanel::ResetZoom();
}

void TCustomChart::DrawZoomRectangle() {
  TChartCanvas3D& canvas = Canvas();
  QImage* image = canvas.BufferImage.get();
  if (image == nullptr) return;  // nothing painted yet: the next paint draws it
  canvas.SetSurface(image);
  DrawZoomOutline();
  canvas.SetSurface(nullptr);
  update();  // shows the image again; nothing is repainted
}

// A paint during a zoom drag ends with the rectangle, so the screen and the drag agree.
void TCustomChart::DrawOverlay() {
  if (ZoomState.IsActive) DrawZoomOutline();
}

// The rectangle in the chart colour (black on a white chart), inverting the pixels it covers.
void TCustomChart::DrawZoomOutline() {
  TChartCanvas3D& canvas = Canvas();
  const TColor colour = ResolveColor(Color());
  canvas.Pen() = TCanvasPen{colour == clWhite ? clBlack : colour, psSolid, 1, pmNotXor};
  canvas.Brush().Style = bsClear;
  const TZoomPanningRecord& z = ZoomState;
  canvas.DrawRectangle(std::min(z.StartX, z.EndX), std::min(z.StartY, z.EndY),
                       std::max(z.StartX, z.EndX), std::max(z.StartY, z.EndY));
  canvas.Pen().Mode = pmCopy;
}

// ---------------------------------------------------------------------------------------------
// Wheel and leaving

void TCustomChart::MouseWheel(int notches) {
  if (notches == 0) return;
  if (scalesUntouched_) SaveScales();  // so that ResetZoom brings back the scales shown before
  for (const auto& axis : Axes()) {
    if (axis->IsHorizontal()) continue;
    const double offset = (axis->Maximum() - axis->Minimum()) * 3 * 0.01;
    // One notch down (towards the user) adds the offset, one up takes it off.
    const double shift = -notches * offset;
    axis->SetAutomatic(false);
    axis->SetAutomaticMaximum(false);
    axis->SetAutomaticMinimum(false);
    axis->ShiftRange(shift);
  }
  RepaintChartNow();
}

void TCustomChart::MouseLeave() {
  setCursor(restCursor_);
  PanState.IsActive = false;
}

// ---------------------------------------------------------------------------------------------
// Window-system events

void TCustomChart::mousePressEvent(QMouseEvent* event) {
  Shielded("mousePressEvent",
           [&] { MouseDown(event->button(), ShiftOf(event), X(event), Y(event)); });
}

void TCustomChart::mouseDoubleClickEvent(QMouseEvent* event) {
  Shielded("mouseDoubleClickEvent", [&] {
    if (OnDblClick) OnDblClick(this);
    MouseDown(event->button(), ShiftOf(event, true), X(event), Y(event));
  });
}

void TCustomChart::mouseMoveEvent(QMouseEvent* event) {
  Shielded("mouseMoveEvent", [&] { MouseMove(ShiftOf(event), X(event), Y(event)); });
}

void TCustomChart::mouseReleaseEvent(QMouseEvent* event) {
  Shielded("mouseReleaseEvent",
           [&] { MouseUp(event->button(), ShiftOf(event), X(event), Y(event)); });
}

void TCustomChart::wheelEvent(QWheelEvent* event) {
  // 120 units make a notch; touchpads send less at a time.
  const long long units = static_cast<long long>(wheelRemainder_) + event->angleDelta().y();
  const int notches = static_cast<int>(units / 120);
  wheelRemainder_ = static_cast<int>(units % 120);
  Shielded("wheelEvent", [&] { MouseWheel(notches); });
  event->accept();
}

void TCustomChart::leaveEvent(QEvent* event) {
  Shielded("leaveEvent", [&] { MouseLeave(); });
  TCustomAxisPanel::leaveEvent(event);
}
