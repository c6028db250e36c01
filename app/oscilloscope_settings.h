// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>

#include "chart/chart.h"
#include "sim/current_wave.h"

// The oscilloscope screen's settings, in one place: the window applies them to its chart, and
// the chart's tests, the benchmarks and the fuzzers build the same screen from them. Header
// only, so those need the chart library alone.
namespace oscilloscope {

// Every line of the screen has its colours here: on the screen, in projector mode, and on paper
// when the report saves ink (dark inks on white that a class tells apart: red, black, blue,
// green).
// The four traces in drawing order: the zero line, the trace, the two lines of the measuring
// cross. In projector mode each takes a colour that keeps 3:1 contrast over the whole
// background gradient: plain red is lost on its green end.
struct TTraceSetting {
  const char* name;
  TColor colour;
  TColor highContrastColour;
  TColor inkColour;
};
inline constexpr TTraceSetting kTraces[4] = {{"Series4", clBlue, clBlue, clBlack},
                                             {"Series1", clRed, 0x000090, 0x0000C8},
                                             {"Series2", clYellow, clBlack, 0xA00000},
                                             {"Series3", clYellow, clBlack, 0xA00000}};
// Cursor B's two lines, drawn after the cross, empty until the cursor is set.
inline constexpr TColor kDarkMagenta = 0x600060;
inline constexpr TTraceSetting kCursorB[2] = {{"Series5", clFuchsia, kDarkMagenta, 0x008000},
                                              {"Series6", clFuchsia, kDarkMagenta, 0x008000}};
// Channel 2, the current (A) on the right axis, drawn after the trace and before the cursors.
// Indigo keeps 4.6:1 over the whole gradient and stays apart in hue from the red trace, the
// blue zero line and cursor B, also for red-green colour blindness.
inline constexpr TColor kIndigo = 0x82004B;
inline constexpr TTraceSetting kCurrentTrace = {"Series7", kIndigo, kIndigo, kIndigo};
// The right axis is the left one divided by the current channel's ratio, so the zero lines
// coincide.
using ::kVoltsPerAmpere;
// Projector mode ("Contraste élevé"), for the back row of a classroom: thicker traces, cursor
// lines of two pixels with cursor B dashed (the cursors then differ by shape, not by colour
// alone), a grid and ticks dark enough for 3:1, and every reading half as large again.
inline constexpr int kProjectorTraceWidth = 3;
inline constexpr int kProjectorCursorWidth = 2;
inline constexpr TPenStyle kProjectorCursorBStyle = psDash;
inline constexpr TColor kProjectorGridColour = 0x404040;
inline constexpr double kProjectorTextScale = 1.5;
// The background gradient's two ends.
inline constexpr TColor kGradientStart = 0xFAFCF5;
inline constexpr TColor kGradientEnd = 0x84AC40;

// The panel, the walls and the two fixed axes (0 to 25 ms across, −25 to 25 V up), applied as
// the form loading does: between BeginLoading and EndLoading, so the axis order checks wait.
inline void ApplyChartSettings(TChart& chart) {
  chart.BeginLoading();
  chart.setCursor(Qt::CrossCursor);
  chart.SetColor(0xCCC05B);
  chart.Gradient().SetVisible(true);
  chart.Gradient().SetStartColor(kGradientStart);
  chart.Gradient().SetEndColor(kGradientEnd);
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

// The right axis of channel 2: −2,5 to 2,5 A, fixed, labelled as the left axis with the grid
// left to it, its title read downwards in the trace's colour. Shown only while a series is
// drawn against it.
inline void ApplyCurrentAxisSettings(TChart& chart) {
  TChartAxis& right = chart.RightAxis();
  right.SetAxisRange(chart.LeftAxis().Minimum() / kVoltsPerAmpere,
                     chart.LeftAxis().Maximum() / kVoltsPerAmpere);
  right.SetIncrement(1 / kVoltsPerAmpere);  // the left axis's steps from 1 V
  right.Grid.SetVisible(false);
  right.Title.SetAngle(270);
  TCanvasFont font = chart.LeftAxis().LabelsFont();
  font.Color = kIndigo;
  right.Title.SetFont(font);
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
