// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QString>
#include <array>
#include <functional>
#include <utility>

#include "chart/panel/chart_wall.h"
#include "chart/panel/custom_axis_panel.h"
#include "chart/series/chart_series.h"

// A text line above (title) or below (foot) the plot. The rectangle it covered at its last
// drawing is what clicks are tested against.
class TChartTitle : public TNotifying {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }
  const QString& Text() const { return text_; }
  void SetText(const QString& text) { Set(text_, text); }
  const TCanvasFont& Font() const { return font_; }
  void SetFont(const TCanvasFont& font);

  // Left and top edges inside, right and bottom outside; never hit when hidden or empty.
  bool HitTest(int x, int y) const { return visible_ && Bounds.Contains(x, y); }
  TRect Bounds;

 private:
  bool visible_ = true;
  QString text_;
  TCanvasFont font_{QStringLiteral("Arial"), 10, clBlue};
};

class TChartLegend : public TNotifying {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }

 private:
  bool visible_ = true;
};

// A drag of the mouse over the chart: where it began and where the pointer is now.
struct TZoomPanningRecord {
  bool IsActive = false;
  int StartX = 0;
  int StartY = 0;
  int EndX = 0;
  int EndY = 0;

  void BeginTracking(int x, int y) {
    StartX = EndX = x;
    StartY = EndY = y;
    IsActive = true;
  }
  void NormalizeCorners() {
    if (EndX < StartX) std::swap(StartX, EndX);
    if (EndY < StartY) std::swap(StartY, EndY);
  }
};

enum TChartClickedPartStyle { cpNone, cpLegend, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect };

struct TChartClickedPart {
  TChartClickedPartStyle Part = cpNone;
  int PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
};

class TCustomChart;
using TChartClick = std::function<void(TCustomChart* sender, Qt::MouseButton button,
                                       TShiftState shift, int x, int y)>;
using TChartClickSeries =
    std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                       Qt::MouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxis =
    std::function<void(TCustomChart* sender, TChartAxis* axis, Qt::MouseButton button,
                       TShiftState shift, int x, int y)>;
using TChartAllowScrollEvent =
    std::function<void(TChartAxis* sender, double& min, double& max, bool& allowScroll)>;

// Adds the walls, titles and legend, and the chart's own mouse handling: a left drag right and
// down zooms into its rectangle, any other left drag undoes the zoom, a right drag pans, the
// wheel scrolls the vertical axes, and presses raise the click events.
class TCustomChart : public TCustomAxisPanel {
  Q_OBJECT

 public:
  explicit TCustomChart(QWidget* parent = nullptr);

  TChartWall BackWall;
  TChartWall LeftWall{0x80FFFF};
  TChartWall BottomWall{clWhite};
  TChartTitle Title;
  TChartTitle Foot;
  TChartLegend Legend;

  // --- Zoom and panning ----------------------------------------------------------------------
  TZoomPanningRecord ZoomState;
  TZoomPanningRecord PanState;
  // Set while a click event runs; a handler clears it to let the chart zoom or pan.
  bool MouseConsumed = false;
  bool ScalesUntouched() const { return scalesUntouched_; }

  void ResetZoom() override;
  virtual void ZoomToRectangle();
  void ApplyZoom(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                 double leftMax, double rightMin, double rightMax);
  // Draws the zoom rectangle in inverting mode on the chart's image: drawing it twice erases it.
  void DrawZoomRectangle();
  TChartClickedPart ClassifyClick(int x, int y);

  TChartClickSeries OnClickSeries;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickLegend;
  TChartClick OnClickBackground;
  TChartAllowScrollEvent OnAllowScroll;
  // The window's own mouse events, raised before the chart's handling.
  TChartClick OnMouseDown;
  TChartClick OnMouseUp;
  std::function<void(TCustomChart* sender, TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(TCustomChart* sender)> OnDblClick;

  // The mouse messages, as the window system delivers them.
  void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
  // `notches` wheel steps, positive away from the user.
  void MouseWheel(int notches);
  void MouseLeave();

  // The cursor shown when no drag runs and no series asks for its own; taken again when the
  // form has been loaded.
  void EndLoading() override;

 protected:
  void DrawTitlesAndLegend() override;
  void DrawBackWall() override;
  void DrawOverlay() override;

  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct TSavedScale {
    bool automatic, automaticMinimum, automaticMaximum;
    double minimum, maximum;
  };
  void DrawTitle(TChartTitle& title, bool atTop);
  void DrawZoomOutline();
  bool RaiseClick(const TChartClick& event, Qt::MouseButton button, TShiftState shift, int x,
                  int y);
  bool TryStartDrag(Qt::MouseButton button, int x, int y);
  void SaveScales();
  bool PanAxes(bool horizontal, int now, int old);
  // Top, left, right, bottom: the order the scales are saved in.
  std::array<TChartAxis*, 4> SavedAxes();

  bool scalesUntouched_ = true;
  std::array<TSavedScale, 4> savedAxisScales_{};
  QCursor restCursor_;
  int wheelRemainder_ = 0;
};
