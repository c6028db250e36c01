// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "chart/axis/chart_axis.h"
#include "chart/panel/custom_chart_panel.h"

class TChartSeries;

// The chart with its five axes and the series attached to it, in attachment order (which is
// also their drawing order), and the paint sequence that draws them: background and frame,
// titles, axis layout, back wall, axes with labels and grid, then the series, clipped to the
// plot.
class TCustomAxisPanel : public TCustomChartPanelExtended {
  Q_OBJECT

 public:
  explicit TCustomAxisPanel(QWidget* parent = nullptr);
  ~TCustomAxisPanel() override;

  // In creation order: bottom, top, left, right, depth.
  TChartAxis& BottomAxis() { return *axes_[0]; }
  TChartAxis& TopAxis() { return *axes_[1]; }
  TChartAxis& LeftAxis() { return *axes_[2]; }
  TChartAxis& RightAxis() { return *axes_[3]; }
  TChartAxis& DepthAxis() { return *axes_[4]; }
  const std::array<std::unique_ptr<TChartAxis>, 5>& Axes() const { return axes_; }

  const std::vector<TChartSeries*>& SeriesList() const { return seriesList_; }
  bool HasActiveSeries() const;

  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool visible) { Set(axisVisible_, visible); }
  bool View3D() const { return view3D_; }
  void SetView3D(bool view3D) { Set(view3D_, view3D); }
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool walls) { Set(view3DWalls_, walls); }
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool clip) { Set(clipPoints_, clip); }

  // Separators of the axis labels; the user's locale by default.
  QString LabelDecimalSeparator;
  QString LabelThousandSeparator;

  // One listener each; the signals of the same names are raised at the same moment for any
  // number.
  TChartHook<void(TCustomAxisPanel* sender)> OnBeforeDrawAxes;
  TChartHook<void(TCustomAxisPanel* sender)> OnBeforeDrawSeries;
  // After the series and before the zoom rectangle: what is drawn here lies over the traces
  // and under the rectangle, which a drag then inverts and puts back cleanly.
  TChartHook<void(TCustomAxisPanel* sender)> OnAfterDrawSeries;
  TChartHook<void(TCustomAxisPanel* sender)> OnAfterDraw;
  // May replace the text of an axis label.
  std::function<void(TChartAxis* axis, double value, QString& text)> OnGetAxisLabel;

  // Effective ranges, room for the visible axes, then their pixels.
  void LayoutAxes();

 signals:
  void BeforeDrawAxes(TCustomAxisPanel* sender);
  void BeforeDrawSeries(TCustomAxisPanel* sender);
  void AfterDrawSeries(TCustomAxisPanel* sender);
  void AfterDraw(TCustomAxisPanel* sender);

 protected:
  void DrawChart() override;
  // Titles and legend take their room off PlotRect here; nothing by default.
  virtual void DrawTitlesAndLegend() {}
  virtual void DrawBackWall() {}
  // Drawn last, over everything (the zoom rectangle while a drag is in progress).
  virtual void DrawOverlay() {}

 private:
  friend class TChartSeries;
  void AddSeries(TChartSeries* series);
  void RemoveSeries(TChartSeries* series);
  void DrawAxes();
  void DrawSeries();

  std::array<std::unique_ptr<TChartAxis>, 5> axes_;
  std::vector<TChartSeries*> seriesList_;
  bool axisVisible_ = true;
  bool view3D_ = true;
  bool view3DWalls_ = true;
  bool clipPoints_ = true;
};
