#include "chart/custom_axis_panel.h"

#include <algorithm>

#include "chart/chart_series.h"

// The series belong to the form, not to the chart: they are only let go.
TCustomAxisPanel::~TCustomAxisPanel() {
  destroying_ = true;
  while (!seriesList_.empty()) seriesList_.back()->SetParentChart(nullptr);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) { seriesList_.push_back(series); }

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  seriesList_.erase(std::remove(seriesList_.begin(), seriesList_.end(), series),
                    seriesList_.end());
}
