// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything a user of the chart engine needs: the chart, its axes and its series.
#include "chart/axis/chart_axis.h"
#include "chart/chart_exceptions.h"
#include "chart/panel/custom_chart.h"
#include "chart/series/chart_series.h"
#include "chart/series/chart_value_list.h"
#include "chart/series/cross_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/list_error.h"

// The chart control: everything published by the classes it derives from.
class TChart : public TCustomChart {
  Q_OBJECT

 public:
  explicit TChart(QWidget* parent = nullptr);
};
