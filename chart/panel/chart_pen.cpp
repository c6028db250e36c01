// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/chart_pen.h"

void TChartPen::Assign(const TChartPen& other) {
  const bool changed = color_ != other.color_ || style_ != other.style_ || width_ != other.width_ ||
                       mode_ != other.mode_ || visible_ != other.visible_ ||
                       smallDots_ != other.smallDots_;
  color_ = other.color_;
  style_ = other.style_;
  width_ = other.width_;
  mode_ = other.mode_;
  visible_ = other.visible_;
  smallDots_ = other.smallDots_;
  if (changed && OnChange) OnChange();
}
