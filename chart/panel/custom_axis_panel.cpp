// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/custom_axis_panel.h"

#include <QLocale>
#include <algorithm>

#include "chart/series/chart_series.h"

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomChartPanelExtended(parent) {
  axes_ = {std::make_unique<TChartAxis>(this, TChartAxis::kBottom),
           std::make_unique<TChartAxis>(this, TChartAxis::kTop),
           std::make_unique<TChartAxis>(this, TChartAxis::kLeft),
           std::make_unique<TChartAxis>(this, TChartAxis::kRight),
           std::make_unique<TChartAxis>(this, TChartAxis::kDepth)};
  const QLocale locale = QLocale::system();
  LabelDecimalSeparator = locale.decimalPoint();
  LabelThousandSeparator = locale.groupSeparator();
}

// The series belong to the form, not to the chart: they are only let go.
TCustomAxisPanel::~TCustomAxisPanel() {
  BeginDestruction();
  while (!seriesList_.empty())
    seriesList_.back()->SetParentChart(nullptr);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  seriesList_.push_back(series);
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  seriesList_.erase(std::remove(seriesList_.begin(), seriesList_.end(), series), seriesList_.end());
}

bool TCustomAxisPanel::HasActiveSeries() const {
  return std::any_of(seriesList_.begin(), seriesList_.end(),
                     [](const TChartSeries* s) { return s->Active(); });
}

void TCustomAxisPanel::LayoutAxes() {
  for (auto& axis : axes_)
    axis->AdjustRange();
  NormalizePlotRect();
  TRect r = PlotRect;
  for (std::size_t i = 0; i < axes_.size(); ++i) {
    TChartAxis& axis = *axes_[i];
    if (!axis.IsVisible()) continue;
    TRect t = r;
    axis.ReserveAxisRoom(t);
    // An axis whose room would empty the plot reserves nothing.
    const TRect both{std::max(r.Left, t.Left), std::max(r.Top, t.Top), std::min(r.Right, t.Right),
                     std::min(r.Bottom, t.Bottom)};
    if (!both.IsEmpty()) r = both;
  }
  PlotRect = r;
  NormalizePlotRect();
  for (auto& axis : axes_)
    axis->ComputeAxisPixels();
}

void TCustomAxisPanel::DrawChart() {
  TCustomChartPanel::DrawChart();  // background and frame
  DrawTitlesAndLegend();
  LayoutAxes();
  for (std::size_t i = 0; i < 4; ++i)
    axes_[i]->WidenForSeriesMargins();
  for (auto& axis : axes_) {
    if (axis->IsVisible()) axis->ComputeTicks();
  }
  DrawBackWall();
  // The axes, their grid and labels go first, so traces lie over the grid.
  if (axisVisible_) DrawAxes();
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
  emit BeforeDrawSeries(this);
  DrawSeries();
  if (OnAfterDrawSeries) OnAfterDrawSeries(this);
  emit AfterDrawSeries(this);
  DrawOverlay();
  Canvas().ResetCanvasState();
  if (OnAfterDraw) OnAfterDraw(this);
  emit AfterDraw(this);
}

void TCustomAxisPanel::DrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
  emit BeforeDrawAxes(this);
  for (auto& axis : axes_) {
    if (axis->IsVisible()) axis->DrawAxis();
  }
}

void TCustomAxisPanel::DrawSeries() {
  // Series pixels stay inside the frame of the back wall.
  const TRect clip{PlotRect.Left + 1, PlotRect.Top + 1, PlotRect.Right, PlotRect.Bottom - 1};
  for (TChartSeries* series : seriesList_) {
    if (series->Active()) series->DrawOnChart(clipPoints_ ? &clip : nullptr);
  }
}
