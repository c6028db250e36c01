#pragma once

// Everything a user of the chart engine needs: the chart, its axes and its series.
#include "chart/chart_axis.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/custom_chart.h"
#include "chart/fast_line_series.h"
#include "chart/list_error.h"

// The chart control: everything published by the classes it derives from.
class TChart : public TCustomChart {
  Q_OBJECT

 public:
  explicit TChart(QWidget* parent = nullptr);
};
