// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "app/oscilloscope_settings.h"
#include "chart/chart.h"

// The oscilloscope screen as the main window lays it out, from the window's own settings: its
// panel, its two fixed axes and its four empty series in drawing order.
struct OscilloscopeChart {
  OscilloscopeChart(int width, int height) {
    oscilloscope::ApplyChartSettings(chart);
    for (int i = 0; i < 4; ++i)
      series[i].reset(oscilloscope::MakeTrace(chart, oscilloscope::kTraces[i]));
    chart.resize(width, height);
  }

  TChart chart;
  // Series4, Series1, Series2, Series3: the zero line, the trace, the measuring cross.
  std::unique_ptr<TFastLineSeries> series[4];
  TFastLineSeries& Series4() { return *series[0]; }
  TFastLineSeries& Series1() { return *series[1]; }
};
