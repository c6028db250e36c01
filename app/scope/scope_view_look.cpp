// SPDX-License-Identifier: GPL-3.0-or-later
// How the oscilloscope looks and reads: projector mode, and its description for screen readers.
#include <QLabel>
#include <cmath>

#include "app/decimal_mark.h"
#include "app/oscilloscope_settings.h"
#include "app/projector_mode.h"
#include "app/scope/current_channel.h"
#include "app/scope/scope_description.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"
#include "sim/bench.h"

// Every line in its colour for the mode; the traces thicker, the cursors two pixels with
// cursor B dashed, the labels larger and the grid darker. Channel 2 then takes the left axis's
// new look, and the read-out its larger text.
void TScopeView::SetProjector(bool on) {
  namespace osc = oscilloscope;
  for (const TLine& line : Lines()) {
    line.series->SetSeriesColor(on ? line.setting->highContrastColour : line.setting->colour);
    const bool trace = line.series == series_[kZeroLine] || line.series == series_[kTrace];
    if (trace) line.series->LinePen().SetWidth(on ? osc::kProjectorTraceWidth : 1);
  }
  for (int cursor : {kCrossTime, kCrossVolts, kBTime, kBVolts})
    series_[cursor]->LinePen().SetWidth(on ? osc::kProjectorCursorWidth : 1);
  for (int cursorB : {kBTime, kBVolts})
    series_[cursorB]->LinePen().SetStyle(on ? osc::kProjectorCursorBStyle : psSolid);
  for (TChartAxis* axis : {&chart_.BottomAxis(), &chart_.LeftAxis()}) {
    TCanvasFont font = axis->LabelsFont();
    font.Size = on ? static_cast<int>(std::ceil(baseLabelSize_ * osc::kProjectorTextScale))
                   : baseLabelSize_;
    axis->SetLabelsFont(font);
    axis->Grid.SetColor(on ? osc::kProjectorGridColour : TDottedGrayPen().Color());
    for (TChartPen* ticks : {&axis->Ticks, &axis->TicksInner, &axis->MinorTicks})
      ticks->SetColor(on ? osc::kProjectorGridColour : TDarkGrayPen().Color());
  }
  channel_->SetHighContrast(on);
  for (QLabel* readOut : {controls_.readOutCaption, controls_.readOut}) {
    if (readOut != nullptr) SetProjectorText(readOut, on);
  }
  FitReadOut();
}

void TScopeView::Describe() {
  TScopeSummary scope;
  scope.experiment = bench_.Description().experiment;
  const TFastLineSeries& trace = Trace();
  const int count = trace.PointCount();
  scope.hasTrace = count > TBench::kPeriodSamples;
  if (scope.hasTrace) {
    const TChartValueList& x = trace.XValues();
    const TChartValueList& y = trace.YValues();
    scope.period = x.ValueAt(TBench::kPeriodSamples) - x.ValueAt(0);
    scope.low = y.MinimumValue();
    scope.high = y.MaximumValue();
    scope.mean = y.SumOfValues() / count;
  }
  const QString current = CurrentName();
  if (!current.isEmpty() && CurrentTrace().PointCount() > 0) {
    scope.current = current.toStdString();
    scope.currentLow = CurrentTrace().YValues().MinimumValue();
    scope.currentHigh = CurrentTrace().YValues().MaximumValue();
  }
  scope.cross = cursors_->A().has_value();
  scope.crossTime = bench_.ReferenceTime();
  scope.crossVoltage = bench_.ReferenceVoltage();
  const QString text = ScopeDescription(scope, DecimalMark());
  // Each change is announced: set it only when it differs.
  if (chart_.accessibleDescription() != text) chart_.setAccessibleDescription(text);
}
