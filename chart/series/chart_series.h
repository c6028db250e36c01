// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/panel/custom_axis_panel.h"
#include "chart/series/chart_value_list.h"
#include "chart/series/per_point_list.h"
#include "platform/color.h"
#include "platform/cursor.h"

class TChartSeries;

using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* sender, int valueIndex)>;
using TSeriesOnClear = std::function<void(TChartSeries* sender)>;
using TSeriesNotify = std::function<void(TChartSeries* sender)>;

// Modifier keys and buttons held during a mouse event, and whether it is a double click.
struct TShiftState {
  Qt::KeyboardModifiers Keys;
  Qt::MouseButtons Buttons;
  bool DoubleClick = false;
};
using TSeriesClick = std::function<void(TChartSeries* sender, int valueIndex,
                                        Qt::MouseButton button, TShiftState shift, int x, int y)>;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// A series' points as copies of its two lists, index for index.
struct TPointValues {
  std::vector<double> x, y;
};

// The chart's unit of data: points of (X, Y) with an optional colour and label. X and Y live in
// two value lists; the X list is kept in ascending order by default, so a point goes to its
// place by X. Every change of data asks the owning chart, if any, to repaint.
class TChartSeries : public QObject {
  Q_OBJECT

 public:
  // The palette of ColorEachPoint, chosen by point index modulo 16.
  static constexpr TColor kPalette[16] = {clRed,     clGreen,  clYellow, clBlue,   clWhite, clGray,
                                          clFuchsia, clTeal,   clNavy,   clMaroon, clLime,  clOlive,
                                          clPurple,  clSilver, clAqua,   clBlack};

  explicit TChartSeries(QObject* owner = nullptr);
  ~TChartSeries() override;

  TChartValueList& XValues() { return xValues_; }
  const TChartValueList& XValues() const { return xValues_; }
  TChartValueList& YValues() { return yValues_; }
  const TChartValueList& YValues() const { return yValues_; }
  TPointValues PointValues() const { return {xValues_.Values(), yValues_.Values()}; }
  // Every value list of the series, X first.
  const std::vector<TChartValueList*>& ValueLists() const { return valueLists_; }

  // Returns the index the point went to, or -1 when OnBeforeAdd vetoed it.
  virtual int AppendPoint(double x, double y, std::string_view label = {},
                          TColor color = clDefault);
  virtual int AppendNullPoint(double x, double y, std::string_view label = {});
  virtual int AppendValue(double value, std::string_view label = {}, TColor color = clDefault);
  virtual void ClearPoints();
  virtual void RemovePoint(int index);

  int PointCount() const { return XValues().ValueCount(); }
  virtual TColor PointColor(int index) const;
  void SetPointColor(int index, TColor color);
  bool IsNullPoint(int index) const { return PointColor(index) == clNone; }
  virtual std::string PointLabel(int index) const;

  // Asks the owning chart to repaint; a series without a chart does nothing.
  void RequestRepaint() {
    // A thousand appends between two paints ask once; the others would change nothing.
    if (parentChart_ != nullptr && !parentChart_->Destroying() &&
        !parentChart_->RepaintRequested()) {
      parentChart_->InvalidateChart();
    }
  }

  TCustomAxisPanel* ParentChart() const { return parentChart_; }
  // Leaves the old chart's series list and joins the end of the new one's.
  virtual void SetParentChart(TCustomAxisPanel* chart);

  // --- The axes it is drawn against -----------------------------------------------------------
  THorizAxis HorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis axis);
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis axis);
  // Axes outside the chart's five, for aCustomHorizAxis and aCustomVertAxis.
  void SetCustomHorizAxis(TChartAxis* axis);
  void SetCustomVertAxis(TChartAxis* axis);
  TChartAxis* ResolvedHorizAxis() const { return resolvedHorizAxis_; }
  TChartAxis* ResolvedVertAxis() const { return resolvedVertAxis_; }
  bool UsesAxis(const TChartAxis* axis) const;

  // --- Visible points and pixels --------------------------------------------------------------
  // The points to draw on this paint: from the first at or right of the plot's left edge to
  // the last at or left of its right edge (or the first beyond it, with KeepEdgePoints);
  // -1 and -1 when none. Assumes the X list is sorted, which loAscending keeps.
  void ComputeVisibleRange();
  int FirstVisibleIndex = -1;
  int LastVisibleIndex = -1;
  bool ClipToVisibleRange = true;
  bool KeepEdgePoints = false;

  int XPixel(int index) const { return resolvedHorizAxis_->ValueToPixel(xValues_.ValueAt(index)); }
  int YPixel(int index) const { return resolvedVertAxis_->ValueToPixel(yValues_.ValueAt(index)); }
  double PixelToXValue(int pixel) const { return resolvedHorizAxis_->PixelToValue(pixel); }
  double PixelToYValue(int pixel) const { return resolvedVertAxis_->PixelToValue(pixel); }
  double MinimumX() const { return xValues_.MinimumValue(); }
  double MaximumX() const { return xValues_.MaximumValue(); }
  double MinimumY() const { return yValues_.MinimumValue(); }
  double MaximumY() const { return yValues_.MaximumValue(); }

  // Extra pixels a series asks of its axes at each end; none by default.
  virtual void HorizMargins(int& start, int& end) const { start = end = 0; }
  virtual void VertMargins(int& start, int& end) const { start = end = 0; }

  // --- Mouse ----------------------------------------------------------------------------------
  // The index of the point (or of the segment's first point) under the pixel, -1 if none;
  // series kinds that can be hit override it.
  virtual int PointAtPixel(int x, int y);
  // The pointer's position now, as values on the series' axes.
  void PointerToValues(double& x, double& y) const;
  // A press on the series: raises OnDblClick or OnClick; true when a handler was raised and
  // left the press consumed.
  bool Clicked(int valueIndex, Qt::MouseButton button, TShiftState shift, int x, int y,
               bool& mouseConsumed);
  TCursor Cursor = crDefault;  // shown over a point of this series
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;

  // --- Drawing ------------------------------------------------------------------------------
  // How the chart has the series drawn on each paint: the visible range, BeforeDrawValues,
  // the points inside `clip` (when given), AfterDrawValues. Nothing when no point is visible.
  void DrawOnChart(const TRect* clip);
  // Draws the visible points; the base class draws each with DrawPoint.
  virtual void DrawAllPoints();
  virtual void DrawPoint(int index);

  TSeriesNotify BeforeDrawValues;
  TSeriesNotify AfterDrawValues;

  bool Active() const { return active_; }
  virtual void SetActive(bool active);
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool colorEachPoint);
  TColor SeriesColor() const { return seriesColor_; }
  virtual void SetSeriesColor(TColor color);
  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool show);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  const std::string& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& format);
  const std::string& PercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& format);
  std::string ColorSource;    // kept for the form's sake; nothing reads it
  std::string XLabelsSource;  // idem

  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnClear OnClearValues;

 protected:
  // After a point was stored at `index`: raises OnAfterAdd, then repaints if Active.
  virtual void PointAdded(int index) {
    if (OnAfterAdd) OnAfterAdd(this, index);
    if (active_) RequestRepaint();
  }

  // AppendPoint up to the notification: OnBeforeAdd may veto (-1), otherwise the point is
  // stored at its place by X and its index returned.
  int StorePoint(double x, double y, std::string_view label, TColor color);

  // Step one of ClearPoints: every list emptied and its storage given back.
  virtual void ClearStorage();

  void StoreAttributes(int index, std::string_view label, TColor color);

  template <class T>
  void SetAndRepaint(T& field, const T& value) {
    if (field == value) return;
    field = value;
    RequestRepaint();
  }

 private:
  friend class TCustomAxisPanel;  // detaches its series when it goes away

  TChartValueList xValues_{this, "X "};
  TChartValueList yValues_{this, "Y "};
  std::vector<TChartValueList*> valueLists_{&xValues_, &yValues_};
  TPerPointList<TColor> colors_{clDefault};  // the stored colours
  TPerPointList<std::string> labels_{std::string()};
  bool attributesStored_ = false;  // some point brought a colour or a label: keep both lists

  void ResolveAxes();

  TCustomAxisPanel* parentChart_ = nullptr;
  THorizAxis horizAxis_ = aBottomAxis;
  TVertAxis vertAxis_ = aLeftAxis;
  TChartAxis* customHorizAxis_ = nullptr;
  TChartAxis* customVertAxis_ = nullptr;
  TChartAxis* resolvedHorizAxis_ = nullptr;
  TChartAxis* resolvedVertAxis_ = nullptr;
  bool active_ = true;
  bool colorEachPoint_ = false;
  TColor seriesColor_ = clDefault;
  bool showInLegend_ = true;
  std::string title_;
  std::string valueFormat_ = "#,##0.###";
  std::string percentFormat_ = "##0.## %";
};
