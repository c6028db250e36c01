// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_plot.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/notebook/experiment_filter.h"
#include "app/notebook/fit_equation.h"
#include "app/notebook/notebook_model.h"
#include "chart/chart.h"

namespace {

constexpr TColor kMarkerColour = clNavy;
constexpr TColor kLineColour = clRed;
// A marker is a bold upright cross, 11 pixels across with arms 3 pixels thick: it stands out
// from the dotted grid and from the line drawn over it, even on a projector.
constexpr int kArm = 5;        // pixels from a marker's centre to the tip of each arm
constexpr int kHalfWidth = 1;  // rows (columns) of an arm on each side of the centre's

// A margin of 5 % each side, and a width of its own for a range of one value.
std::pair<double, double> Padded(double low, double high) {
  const double span = high - low;
  const double pad = span > 0 ? 0.05 * span : (low != 0 ? 0.1 * std::abs(low) : 1.0);
  return {low - pad, high + pad};
}

// The decimals worth writing of a quantity between `low` and `high`: down to four digits below
// its largest magnitude (a tenth for 3000 tr/min, a ten-thousandth for 7 V).
int DecimalsFor(double low, double high) {
  const double largest = std::max(std::abs(low), std::abs(high));
  if (largest == 0) return 3;
  return std::clamp(4 - static_cast<int>(std::floor(std::log10(largest))), 0, 15);
}

TNotebookColumn ColumnIn(const QComboBox* box) {
  return static_cast<TNotebookColumn>(box->currentData().toInt());
}

}  // namespace

TNotebookPlot::TNotebookPlot(const TWidgets& widgets) : w_(widgets) {
  SetUpChart();
  SetUpSeries();
  SetUpColumnChoices();
}

TNotebookPlot::~TNotebookPlot() = default;

void TNotebookPlot::SetUpChart() {
  TChart& chart = *w_.chart;
  chart.BeginLoading();
  chart.setCursor(Qt::CrossCursor);
  chart.SetColor(clWhite);
  chart.BackWall.Brush.SetColor(clWhite);
  chart.BackWall.Brush.SetStyle(bsClear);
  chart.SetMarginTop(3);
  chart.SetMarginRight(4);
  chart.Title.SetVisible(true);
  chart.Title.SetFont({QStringLiteral("Arial"), 9, clBlack, true});
  chart.Legend.SetVisible(false);
  chart.SetView3D(false);
  chart.SetView3DWalls(false);
  // The scales read like the table and the equation beside them, whatever the desktop's habit.
  chart.LabelDecimalSeparator = QStringLiteral(",");
  chart.LabelThousandSeparator = QStringLiteral("\u202F");
  chart.EndLoading();
}

void TNotebookPlot::SetUpSeries() {
  // The frame's two corners hold the data's range with a margin: the axes stay automatic (so
  // the chart's own zoom undoes to them) yet leave the markers clear of the frame, and a range
  // of one value still spreads over the plot. A plain series draws nothing.
  frameSeries_ = std::make_unique<TChartSeries>();
  frameSeries_->setObjectName(QStringLiteral("FrameSeries"));
  fitSeries_ = std::make_unique<TFastLineSeries>();
  fitSeries_->setObjectName(QStringLiteral("FitSeries"));
  fitSeries_->SetSeriesColor(kLineColour);
  fitSeries_->LinePen().SetWidth(2);
  auto markers = std::make_unique<TCrossSeries>();
  markers->SetArmLength(kArm);
  markers->SetArmHalfWidth(kHalfWidth);
  pointSeries_ = std::move(markers);
  pointSeries_->setObjectName(QStringLiteral("PointSeries"));
  // Markers need no order: unsorted, a recorded row is one more value at the end instead of an
  // insertion, and a rebuild needs no sort. Each paint visits every point, culled by pixel.
  pointSeries_->XValues().SetOrder(loNone);
  pointSeries_->SetSeriesColor(kMarkerColour);
  for (TChartSeries* series :
       {frameSeries_.get(), pointSeries_.get(), static_cast<TChartSeries*>(fitSeries_.get())})
    series->SetParentChart(w_.chart);
}

void TNotebookPlot::SetUpColumnChoices() {
  for (QComboBox* box : {w_.xColumn, w_.yColumn}) {
    const QSignalBlocker blocker(box);
    for (int column = 0; column < kNotebookColumns; ++column) {
      const auto c = static_cast<TNotebookColumn>(column);
      if (IsNumericColumn(c)) box->addItem(TNotebookModel::ColumnTitle(c), column);
    }
  }
  w_.xColumn->setCurrentIndex(w_.xColumn->findData(static_cast<int>(TNotebookColumn::kVoltage)));
  w_.yColumn->setCurrentIndex(w_.yColumn->findData(static_cast<int>(TNotebookColumn::kSpeed)));
}

void TNotebookPlot::Clear() {
  pointSeries_->ClearPoints();
  xs_.clear();
  ys_.clear();
  mix_ = {};
}

void TNotebookPlot::Add(const std::vector<TNotebookRow>& rows, int first, int end,
                        const TExperimentFilter& filter) {
  const TNotebookColumn xColumn = ColumnIn(w_.xColumn);
  const TNotebookColumn yColumn = ColumnIn(w_.yColumn);
  for (int i = first; i < end; ++i) {
    const TNotebookRow& row = rows[static_cast<std::size_t>(i)];
    if (!filter.Shows(row)) continue;
    const std::optional<double> x = NumberOf(row, xColumn), y = NumberOf(row, yColumn);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) continue;
    xs_.push_back(*x);
    ys_.push_back(*y);
    mix_.Add(row);
    pointSeries_->AppendPoint(*x, *y);
  }
}

void TNotebookPlot::Fit() {
  const std::optional<TLineFit> fit = FitLine(xs_, ys_);
  fitSeries_->ClearPoints();
  frameSeries_->ClearPoints();
  // The series' own bounds: computed once per change, and read again by the axes at the paint.
  const TChartSeries& points = *pointSeries_;
  const double yLow = xs_.empty() ? 0 : points.MinimumY();
  const double yHigh = xs_.empty() ? 0 : points.MaximumY();
  if (!xs_.empty()) {
    const double xLow = points.MinimumX(), xHigh = points.MaximumX();
    double low = yLow, high = yHigh;
    if (fit) {
      const double atLow = fit->slope * xLow + fit->intercept;
      const double atHigh = fit->slope * xHigh + fit->intercept;
      fitSeries_->AppendPoint(xLow, atLow);
      fitSeries_->AppendPoint(xHigh, atHigh);
      low = std::min({low, atLow, atHigh});
      high = std::max({high, atLow, atHigh});
    }
    const auto [left, right] = Padded(xLow, xHigh);
    const auto [bottom, top] = Padded(low, high);
    frameSeries_->AppendPoint(left, bottom);
    frameSeries_->AppendPoint(right, top);
  }
  ShowEquation(fit, DecimalsFor(yLow, yHigh));
}

// The plot's title, the equation under it with what the rows mix, and both for screen readers.
void TNotebookPlot::ShowEquation(const std::optional<TLineFit>& fit, int interceptDecimals) {
  const TNotebookColumn xColumn = ColumnIn(w_.xColumn);
  const TNotebookColumn yColumn = ColumnIn(w_.yColumn);
  TChart& chart = *w_.chart;
  chart.Title.SetText(
      QStringLiteral("%1 en fonction de %2")
          .arg(TNotebookModel::ColumnTitle(yColumn), TNotebookModel::ColumnTitle(xColumn)));
  const QString equation =
      FitEquationText(fit, TNotebookModel::ColumnSymbol(xColumn),
                      TNotebookModel::ColumnSymbol(yColumn), interceptDecimals);
  w_.fit->setText(equation);
  w_.fit->setAccessibleName(QStringLiteral("Droite d'ajustement\u00A0: ") + equation);
  const QString warning = MixWarningText(mix_);
  w_.mix->setText(warning);
  w_.mix->setVisible(!warning.isEmpty());
  chart.setAccessibleDescription(
      QStringLiteral("%1, %2 %3")
          .arg(chart.Title.Text())
          .arg(xs_.size())
          .arg(xs_.size() > 1 ? QStringLiteral("points") : QStringLiteral("point")));
}
