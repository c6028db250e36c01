// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/panel/chart_pen.h"

// One of the chart's walls; in two dimensions only the back wall is drawn, as the frame and
// fill of the plotting rectangle.
class TChartWall : public TNotifying {
 public:
  explicit TChartWall(TColor color = clDefault) : color_(color) {
    Pen.OnChange = [this] { Changed(); };
    Brush.OnChange = [this] { Changed(); };
  }
  TChartWall(const TChartWall&) = delete;
  TChartWall& operator=(const TChartWall&) = delete;

  TChartPen Pen;
  TChartBrush Brush;

  TColor Color() const { return color_; }
  void SetColor(TColor color) { Set(color_, color); }
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool dark3D) { Set(dark3D_, dark3D); }
  int Size() const { return size_; }
  void SetSize(int size) { Set(size_, size); }

 private:
  TColor color_;
  bool dark3D_ = true;
  int size_ = 0;
};
