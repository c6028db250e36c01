// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chart/panel/chart_gradient.h"
#include "chart/panel/chart_pen.h"
#include "chart/panel/chart_wall.h"
#include "chart/panel/custom_chart.h"

namespace {

// Every settings group asks its owner for a repaint once per real change, and never when a
// setter stores the value it already holds (that would repaint the oscilloscope for nothing).
struct TSetterCase {
  std::string name;
  std::function<void(std::function<void()>)> connect;
  std::function<void()> change;
};

TEST(SettingsNotify, OneNotificationPerRealChange) {
  TChartPen pen;
  TChartBrush brush;
  TChartGradient gradient;
  TChartWall wall;
  TChartTitle title;
  TChartLegend legend;
  const std::vector<TSetterCase> cases = {
      {"pen colour", [&](auto f) { pen.OnChange = f; }, [&] { pen.SetColor(clRed); }},
      {"pen width", [&](auto f) { pen.OnChange = f; }, [&] { pen.SetWidth(3); }},
      {"pen dots", [&](auto f) { pen.OnChange = f; }, [&] { pen.SetSmallDots(true); }},
      {"brush style", [&](auto f) { brush.OnChange = f; }, [&] { brush.SetStyle(bsClear); }},
      {"gradient end", [&](auto f) { gradient.OnChange = f; },
       [&] { gradient.SetEndColor(clGreen); }},
      {"wall size", [&](auto f) { wall.OnChange = f; }, [&] { wall.SetSize(4); }},
      {"wall pen", [&](auto f) { wall.OnChange = f; }, [&] { wall.Pen.SetColor(clBlue); }},
      {"wall brush", [&](auto f) { wall.OnChange = f; }, [&] { wall.Brush.SetColor(clBlue); }},
      {"title text", [&](auto f) { title.OnChange = f; },
       [&] { title.SetText(QStringLiteral("u (V)")); }},
      {"legend", [&](auto f) { legend.OnChange = f; }, [&] { legend.SetVisible(false); }},
  };
  for (const TSetterCase& c : cases) {
    int calls = 0;
    c.connect([&] { ++calls; });
    c.change();
    EXPECT_EQ(calls, 1) << c.name;
    c.change();
    EXPECT_EQ(calls, 1) << c.name << ": the same value again";
  }
}

TEST(SettingsNotify, AssigningAPenReportsOneChangeOnlyWhenItDiffers) {
  TChartPen target;
  int calls = 0;
  target.OnChange = [&] { ++calls; };
  TChartPen source;
  target.Assign(source);
  EXPECT_EQ(calls, 0);
  source.SetColor(clRed);
  source.SetWidth(2);
  target.Assign(source);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(target.Color(), clRed);
  EXPECT_EQ(target.Width(), 2);
}

}  // namespace
