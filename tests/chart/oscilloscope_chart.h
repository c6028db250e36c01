#pragma once

#include <memory>

#include "chart/chart.h"

// The oscilloscope screen as the main window lays it out: its panel settings, its two fixed
// axes and its four empty series in drawing order.
struct OscilloscopeChart {
  OscilloscopeChart(int width, int height) {
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
    const TColor colours[] = {clBlue, clRed, clYellow, clYellow};
    for (int i = 0; i < 4; ++i) {
      series[i] = std::make_unique<TFastLineSeries>();
      series[i]->SetSeriesColor(colours[i]);
      series[i]->SetParentChart(&chart);
    }
    chart.EndLoading();
    chart.resize(width, height);
  }

  TChart chart;
  // Series4, Series1, Series2, Series3: the zero line, the trace, the measuring cross.
  std::unique_ptr<TFastLineSeries> series[4];
  TFastLineSeries& Series4() { return *series[0]; }
  TFastLineSeries& Series1() { return *series[1]; }
};
