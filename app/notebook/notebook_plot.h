// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "sim/notebook.h"

class QComboBox;
class QLabel;
class TChart;
class TChartSeries;
class TExperimentFilter;
class TFastLineSeries;

// The notebook window's plot: one numeric column of the rows shown against another, each row a
// bold cross, with the least-squares line across the points' range, its equation under the plot
// and a warning when the rows plotted mix experiments or wirings.
class TNotebookPlot {
 public:
  // The window's widgets the plot fills; the column boxes get their choices here.
  struct TWidgets {
    TChart* chart;
    QComboBox* xColumn;
    QComboBox* yColumn;
    QLabel* fit;
    QLabel* mix;
  };
  explicit TNotebookPlot(const TWidgets& widgets);
  ~TNotebookPlot();

  // No points.
  void Clear();
  // Rows `first` .. `end` - 1 that `filter` shows and that hold both quantities become points.
  void Add(const std::vector<TNotebookRow>& rows, int first, int end,
           const TExperimentFilter& filter);
  // The fitted line, the frame around the points and the line, then the equation.
  void Fit();

 private:
  void SetUpChart();
  void SetUpSeries();
  void SetUpColumnChoices();
  void ShowEquation(const std::optional<TLineFit>& fit, int interceptDecimals);

  TWidgets w_;
  // Drawing order: the frame (no pixels, it sets the axes' ranges), the markers, then the line,
  // which stays in sight over thousands of markers.
  std::unique_ptr<TChartSeries> frameSeries_;
  std::unique_ptr<TChartSeries> pointSeries_;
  std::unique_ptr<TFastLineSeries> fitSeries_;
  std::vector<double> xs_, ys_;  // the points, as FitLine takes them
  TRowsMix mix_;                 // of the rows plotted
};
