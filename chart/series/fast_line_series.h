// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/panel/chart_pen.h"
#include "chart/series/chart_series.h"

// A series drawn as one polyline with one pen through its visible points, in index order: no
// per-point colours, symbols or marks. One pen is set per paint, one line call made per point,
// and a point on the same pixel as the one drawn before it costs nothing.
class TFastLineSeries final : public TChartSeries {
  Q_OBJECT

 public:
  explicit TFastLineSeries(QObject* owner = nullptr);

  // True: a new point repaints the chart. False: it is drawn at once, from the point before.
  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool autoRepaint) { autoRepaint_ = autoRepaint; }

  // The line's pen; any change repaints, and its colour and SeriesColor stay equal.
  TChartPen& LinePen() { return linePen_; }
  const TChartPen& LinePen() const { return linePen_; }
  // Copies every setting of `pen`, then takes its colour as the series colour.
  void SetLinePen(const TChartPen& pen);
  void SetSeriesColor(TColor color) override;

  void PrepareLinePen();
  void DrawAllPoints() override;
  void DrawPoint(int index) override;

  // The index of the visible point at (x, y), or of the point that starts the segment through
  // it; -1 when there is none.
  int PointAtPixel(int x, int y) override;

  // The same steps as the base series; spelt out here so that, the class being final, its own
  // PointAdded is called directly, a thousand times per recomputation.
  int AppendPoint(double x, double y, std::string_view label = {},
                  TColor color = clDefault) override {
    const int index = StorePoint(x, y, label, color);
    if (index >= 0) PointAdded(index);
    return index;
  }

  int LastDrawnX = 0;
  int LastDrawnY = 0;

 protected:
  void PointAdded(int index) override {
    if (autoRepaint_) [[likely]] {
      TChartSeries::PointAdded(index);
    } else {
      DrawAppendedPoint(index);
    }
  }

 private:
  void DrawAppendedPoint(int index);

  TChartPen linePen_;
  bool autoRepaint_ = true;
};

// True when p lies on the segment a–b: within a pixel of its line and not beyond either end
// by more than `tolerance` pixels. A zero-length segment holds no point.
bool PointOnSegment(TPoint p, TPoint a, TPoint b, int tolerance);
