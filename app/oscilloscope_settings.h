#pragma once

#include <QCursor>

#include "chart/chart.h"

// The oscilloscope screen's settings, in one place: the window applies them to its chart, and
// the chart's tests, the benchmarks and the fuzzers build the same screen from them. Header
// only, so those need the chart library alone.
namespace oscilloscope {

// The four traces in drawing order: the zero line, the trace, the two lines of the measuring
// cross.
struct TTraceSetting {
  const char* name;
  TColor colour;
};
inline constexpr TTraceSetting kTraces[4] = {
    {"Series4", clBlue}, {"Series1", clRed}, {"Series2", clYellow}, {"Series3", clYellow}};

// The panel, the walls and the two fixed axes (0 to 25 ms across, −25 to 25 V up), applied as
// the form loading does: between BeginLoading and EndLoading, so the axis order checks wait.
inline void ApplyChartSettings(TChart& chart) {
  chart.BeginLoading();
  chart.setCursor(Qt::CrossCursor);
  chart.SetColor(0xCCC05B);
  chart.Gradient().SetVisible(true);
  chart.Gradient().SetStartColor(0xFAFCF5);
  chart.Gradient().SetEndColor(0x84AC40);
  chart.BackWall.Brush.SetColor(clWhite);
  chart.BackWall.Brush.SetStyle(bsClear);
  chart.SetMarginBottom(0);
  chart.SetMarginLeft(0);
  chart.SetMarginRight(2);
  chart.SetMarginTop(3);
  chart.Title.SetText(QStringLiteral("TChart"));
  chart.Title.SetVisible(false);
  chart.Legend.SetVisible(false);
  chart.SetView3D(false);
  chart.SetView3DWalls(false);
  for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
    axis->SetAutomatic(false);
    axis->SetAutomaticMaximum(false);
    axis->SetAutomaticMinimum(false);
  }
  chart.BottomAxis().SetMaximum(25);
  chart.LeftAxis().SetMaximum(25);
  chart.LeftAxis().SetMinimum(-25);
  chart.EndLoading();
}

// A trace of `setting` on `chart`, owned by `owner` when one is given.
inline TFastLineSeries* MakeTrace(TChart& chart, const TTraceSetting& setting,
                                  QObject* owner = nullptr) {
  auto* series = new TFastLineSeries(owner);
  series->setObjectName(QString::fromLatin1(setting.name));
  series->SetSeriesColor(setting.colour);
  series->SetParentChart(&chart);
  return series;
}

}  // namespace oscilloscope
