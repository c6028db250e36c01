// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/chart_series.h"

#include "chart/series/list_error.h"

#include <QCursor>

namespace {

// A point index already checked to be in range, as a position in the per-point lists.
std::size_t Position(int checkedIndex) {
  return static_cast<std::size_t>(checkedIndex);
}

}  // namespace

TChartSeries::TChartSeries(QObject* owner) : QObject(owner) {
  xValues_.SetOrder(loAscending);
}

// The owner of the handlers may be going away too (a window destroying its members): none is
// raised. The storage goes with the members; the chart only forgets the series and, as it
// showed it, is repainted.
TChartSeries::~TChartSeries() {
  if (parentChart_ == nullptr) return;
  if (active_) RequestRepaint();
  parentChart_->RemoveSeries(this);
}

// ---------------------------------------------------------------------------------------------
// Adding and removing points

int TChartSeries::AppendPoint(double x, double y, std::string_view label, TColor color) {
  const int index = StorePoint(x, y, label, color);
  if (index >= 0) PointAdded(index);
  return index;
}

int TChartSeries::StorePoint(double x, double y, std::string_view label, TColor color) {
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
  return index;
}

void TChartSeries::StoreAttributes(int index, std::string_view label, TColor color) {
  attributesStored_ = true;
  const std::size_t countBefore = Position(PointCount()) - 1;
  colors_.Insert(Position(index), color, countBefore);
  labels_.Insert(Position(index), label, countBefore);
}

int TChartSeries::AppendNullPoint(double x, double y, std::string_view label) {
  return AppendPoint(x, y, label, clNone);
}

int TChartSeries::AppendValue(double value, std::string_view label, TColor color) {
  return AppendPoint(PointCount(), value, label, color);
}

void TChartSeries::ClearStorage() {
  for (TChartValueList* list : valueLists_)
    list->RemoveAllValues();
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
  for (TChartValueList* list : valueLists_)
    list->RemoveValueAt(index);
  colors_.Erase(Position(index));
  labels_.Erase(Position(index));
  if (active_) RequestRepaint();
}

// ---------------------------------------------------------------------------------------------
// Colours and labels

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= PointCount()) return seriesColor_;
  const TColor stored = colors_.At(Position(index));
  if (stored != clDefault) return stored;
  return colorEachPoint_ ? kPalette[Position(index) % 16] : seriesColor_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= PointCount()) throw EListError(index);
  colors_.Set(Position(index), color, Position(PointCount()));
  attributesStored_ = true;
  RequestRepaint();
}

std::string TChartSeries::PointLabel(int index) const {
  if (index < 0 || index >= PointCount()) return {};
  return labels_.At(Position(index));
}

// ---------------------------------------------------------------------------------------------
// The owning chart and the settings

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == parentChart_) return;
  if (parentChart_ != nullptr) parentChart_->RemoveSeries(this);
  parentChart_ = chart;
  ResolveAxes();
  if (parentChart_ != nullptr) parentChart_->AddSeries(this);
}

// ---------------------------------------------------------------------------------------------
// Axes

void TChartSeries::ResolveAxes() {
  if (parentChart_ == nullptr) {
    resolvedHorizAxis_ = resolvedVertAxis_ = nullptr;
    return;
  }
  resolvedHorizAxis_ = &parentChart_->BottomAxis();
  if (horizAxis_ == aTopAxis) resolvedHorizAxis_ = &parentChart_->TopAxis();
  if (horizAxis_ == aCustomHorizAxis && customHorizAxis_ != nullptr) {
    resolvedHorizAxis_ = customHorizAxis_;
  }
  resolvedVertAxis_ = &parentChart_->LeftAxis();
  if (vertAxis_ == aRightAxis) resolvedVertAxis_ = &parentChart_->RightAxis();
  if (vertAxis_ == aCustomVertAxis && customVertAxis_ != nullptr) {
    resolvedVertAxis_ = customVertAxis_;
  }
}

void TChartSeries::SetHorizAxis(THorizAxis axis) {
  if (axis == horizAxis_) return;
  horizAxis_ = axis;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
  if (axis == vertAxis_) return;
  vertAxis_ = axis;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
  if (axis == customHorizAxis_) return;
  customHorizAxis_ = axis;
  ResolveAxes();
  RequestRepaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
  if (axis == customVertAxis_) return;
  customVertAxis_ = axis;
  ResolveAxes();
  RequestRepaint();
}

bool TChartSeries::UsesAxis(const TChartAxis* axis) const {
  if (axis == nullptr) return false;
  if (axis->IsHorizontal()) return horizAxis_ == aBothHorizAxis || axis == resolvedHorizAxis_;
  return vertAxis_ == aBothVertAxis || axis == resolvedVertAxis_;
}

// ---------------------------------------------------------------------------------------------
// Visible range and drawing

void TChartSeries::ComputeVisibleRange() {
  FirstVisibleIndex = LastVisibleIndex = -1;
  const int count = PointCount();
  if (count == 0) return;
  const int last = count - 1;
  if (!ClipToVisibleRange || xValues_.Order() == loNone || resolvedHorizAxis_ == nullptr) {
    FirstVisibleIndex = 0;
    LastVisibleIndex = last;
    return;
  }
  const TChartAxis& axis = *resolvedHorizAxis_;
  const TRect& plot = parentChart_->PlotRect;
  const double low = axis.PixelToValue(axis.Inverted() ? plot.Right : plot.Left);
  const double high = axis.PixelToValue(axis.Inverted() ? plot.Left : plot.Right);

  // The X list is sorted, so the scans are binary searches: the same indices a scan from
  // index 0 finds, without visiting the points left of the plot.
  const auto at = [this](int i) { return xValues_.ValueAt(i); };
  int lo = 0, hi = count;  // first index whose value is not below `low`
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (at(mid) < low)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo > last) return;
  FirstVisibleIndex = lo;
  if (at(last) <= high) {
    LastVisibleIndex = last;
    return;
  }
  // First index from FirstVisibleIndex whose value is not below `high` (there is one: the
  // last value is above it).
  lo = FirstVisibleIndex;
  hi = last;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (at(mid) < high)
      lo = mid + 1;
    else
      hi = mid;
  }
  LastVisibleIndex = lo;
  if (!KeepEdgePoints && at(LastVisibleIndex) > high) --LastVisibleIndex;
}

void TChartSeries::DrawOnChart(const TRect* clip) {
  if (parentChart_ == nullptr || resolvedHorizAxis_ == nullptr) return;
  ComputeVisibleRange();
  if (FirstVisibleIndex == -1) return;
  if (BeforeDrawValues) BeforeDrawValues(this);
  TChartCanvas3D& canvas = parentChart_->Canvas();
  if (clip != nullptr) canvas.ClipToRect(*clip);
  DrawAllPoints();
  canvas.RemoveClip();
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::DrawAllPoints() {
  for (int i = FirstVisibleIndex; i <= LastVisibleIndex; ++i)
    DrawPoint(i);
}

void TChartSeries::DrawPoint(int) {}

void TChartSeries::SetActive(bool active) {
  SetAndRepaint(active_, active);
}

void TChartSeries::SetColorEachPoint(bool colorEachPoint) {
  SetAndRepaint(colorEachPoint_, colorEachPoint);
}

void TChartSeries::SetSeriesColor(TColor color) {
  SetAndRepaint(seriesColor_, color);
}

void TChartSeries::SetShowInLegend(bool show) {
  SetAndRepaint(showInLegend_, show);
}

void TChartSeries::SetTitle(const std::string& title) {
  SetAndRepaint(title_, title);
}

void TChartSeries::SetValueFormat(const std::string& format) {
  SetAndRepaint(valueFormat_, format);
}

void TChartSeries::SetPercentFormat(const std::string& format) {
  SetAndRepaint(percentFormat_, format);
}

// ---------------------------------------------------------------------------------------------
// Mouse

int TChartSeries::PointAtPixel(int, int) {
  return -1;
}

void TChartSeries::PointerToValues(double& x, double& y) const {
  x = y = 0;
  if (parentChart_ == nullptr || resolvedHorizAxis_ == nullptr) return;
  const QPoint p = parentChart_->mapFromGlobal(QCursor::pos());
  x = PixelToXValue(p.x());
  y = PixelToYValue(p.y());
}

bool TChartSeries::Clicked(int valueIndex, Qt::MouseButton button, TShiftState shift, int x, int y,
                           bool& mouseConsumed) {
  mouseConsumed = false;
  if (shift.DoubleClick && OnDblClick) {
    mouseConsumed = true;
    OnDblClick(this, valueIndex, button, shift, x, y);
  } else if (OnClick) {
    mouseConsumed = true;
    OnClick(this, valueIndex, button, shift, x, y);
  }
  return mouseConsumed;
}
