#include "chart/chart_series.h"

#include "chart/custom_axis_panel.h"
#include "chart/list_error.h"
#include "chart/list_growth.h"

TChartSeries::TChartSeries(QObject* owner) : QObject(owner) {
  valueLists_.push_back(std::make_unique<TChartValueList>(this, "X "));
  valueLists_.push_back(std::make_unique<TChartValueList>(this, "Y "));
  XValues().SetOrder(loAscending);
}

TChartSeries::~TChartSeries() {
  ClearPoints();
  if (parentChart_ != nullptr) parentChart_->RemoveSeries(this);
}

// ---------------------------------------------------------------------------------------------
// Adding and removing points

int TChartSeries::AppendPoint(double x, double y, std::string_view label, TColor color) {
  TChartValueList& xs = XValues();
  TChartValueList& ys = YValues();
  xs.PendingValue = x;
  ys.PendingValue = y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;

  const int index = xs.AddOrdered(xs.PendingValue);
  ys.InsertValueAt(index, ys.PendingValue);
  GrowForOneMore(colors_);
  colors_.insert(colors_.begin() + index, color);
  if (!label.empty() || !labels_.empty()) {
    labels_.resize(PointCount() - 1);  // materialise the empty entries of earlier points
    GrowForOneMore(labels_);
    labels_.insert(labels_.begin() + index, std::string(label));
  }
  PointAdded(index);
  return index;
}

int TChartSeries::AppendNullPoint(double x, double y, std::string_view label) {
  return AppendPoint(x, y, label, clNone);
}

int TChartSeries::AppendValue(double value, std::string_view label, TColor color) {
  return AppendPoint(PointCount(), value, label, color);
}

void TChartSeries::PointAdded(int index) {
  if (OnAfterAdd) OnAfterAdd(this, index);
  if (active_) RequestRepaint();
}

void TChartSeries::ClearStorage() {
  for (auto& list : valueLists_) list->RemoveAllValues();
  ReleaseList(colors_);
  ReleaseList(labels_);
}

void TChartSeries::ClearPoints() {
  ClearStorage();
  if (OnClearValues) OnClearValues(this);
  if (active_ && parentChart_ != nullptr && !parentChart_->Destroying()) RequestRepaint();
}

void TChartSeries::RemovePoint(int index) {
  // Check every list first, so a bad index changes nothing.
  for (const auto& list : valueLists_) {
    if (index < 0 || index >= list->ValueCount()) throw EListError(index);
  }
  for (auto& list : valueLists_) list->RemoveValueAt(index);
  if (index < static_cast<int>(colors_.size())) colors_.erase(colors_.begin() + index);
  if (index < static_cast<int>(labels_.size())) labels_.erase(labels_.begin() + index);
  if (active_) RequestRepaint();
}

// ---------------------------------------------------------------------------------------------
// Colours and labels

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return seriesColor_;
  const TColor stored = colors_[index];
  if (stored != clDefault) return stored;
  return colorEachPoint_ ? kPalette[index % 16] : seriesColor_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= static_cast<int>(colors_.size())) throw EListError(index);
  colors_[index] = color;
  RequestRepaint();
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || index >= static_cast<int>(labels_.size())) return {};
  return labels_[index];
}

// ---------------------------------------------------------------------------------------------
// The owning chart and the settings

void TChartSeries::RequestRepaint() {
  if (parentChart_ != nullptr && !parentChart_->Destroying()) parentChart_->InvalidateChart();
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == parentChart_) return;
  if (parentChart_ != nullptr) parentChart_->RemoveSeries(this);
  parentChart_ = chart;
  if (parentChart_ != nullptr) parentChart_->AddSeries(this);
}

void TChartSeries::SetActive(bool active) { SetAndRepaint(active_, active); }

void TChartSeries::SetColorEachPoint(bool colorEachPoint) {
  SetAndRepaint(colorEachPoint_, colorEachPoint);
}

void TChartSeries::SetSeriesColor(TColor color) { SetAndRepaint(seriesColor_, color); }

void TChartSeries::SetShowInLegend(bool show) { SetAndRepaint(showInLegend_, show); }

void TChartSeries::SetTitle(const std::string& title) { SetAndRepaint(title_, title); }

void TChartSeries::SetValueFormat(const std::string& format) { SetAndRepaint(valueFormat_, format); }

void TChartSeries::SetPercentFormat(const std::string& format) {
  SetAndRepaint(percentFormat_, format);
}
