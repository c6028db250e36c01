#include "chart/chart_series.h"

#include "chart/list_error.h"

TChartSeries::TChartSeries(QObject* owner) : QObject(owner) { xValues_.SetOrder(loAscending); }

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
  if (color != clDefault || !label.empty() || attributesStored_) [[unlikely]] {
    StoreAttributes(index, label, color);
  }
  PointAdded(index);
  return index;
}

void TChartSeries::StoreAttributes(int index, std::string_view label, TColor color) {
  attributesStored_ = true;
  const std::size_t countBefore = static_cast<std::size_t>(PointCount()) - 1;
  colors_.Insert(index, color, countBefore);
  labels_.Insert(index, label, countBefore);
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
  for (TChartValueList* list : valueLists_) list->RemoveAllValues();
  colors_.Clear();
  labels_.Clear();
  attributesStored_ = false;
}

void TChartSeries::ClearPoints() {
  ClearStorage();
  if (OnClearValues) OnClearValues(this);
  if (active_ && parentChart_ != nullptr && !parentChart_->Destroying()) RequestRepaint();
}

void TChartSeries::RemovePoint(int index) {
  // Check every list first, so a bad index changes nothing.
  for (const TChartValueList* list : valueLists_) {
    if (index < 0 || index >= list->ValueCount()) throw EListError(index);
  }
  for (TChartValueList* list : valueLists_) list->RemoveValueAt(index);
  colors_.Erase(index);
  labels_.Erase(index);
  if (active_) RequestRepaint();
}

// ---------------------------------------------------------------------------------------------
// Colours and labels

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= PointCount()) return seriesColor_;
  const TColor stored = colors_.At(index);
  if (stored != clDefault) return stored;
  return colorEachPoint_ ? kPalette[index % 16] : seriesColor_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= PointCount()) throw EListError(index);
  colors_.Set(index, color, PointCount());
  attributesStored_ = true;
  RequestRepaint();
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || index >= PointCount()) return {};
  return labels_.At(index);
}

// ---------------------------------------------------------------------------------------------
// The owning chart and the settings

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
