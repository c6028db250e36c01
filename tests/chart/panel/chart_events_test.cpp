// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's events: each reaches its one hook and any number of connected listeners together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/chart.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

using Log = std::vector<std::string>;
const TShiftState kNoShift{};

// The hook writes "hook", then two listeners of the signal write "a" and "b".
template <class Owner>
void Listen(TChart& chart, TChartHook<void(Owner*)> Owner::*hook, void (Owner::*signal)(Owner*),
            Log& log) {
  chart.*hook = [&log](Owner*) { log.emplace_back("hook"); };
  for (const char* name : {"a", "b"}) {
    QObject::connect(&chart, signal, [&log, &chart, name](Owner* sender) {
      log.emplace_back(sender == &chart ? name : "another sender");
    });
  }
}

void Drag(TChart& chart, Qt::MouseButton button, int x0, int x1) {
  chart.MouseDown(button, kNoShift, x0, 50);
  chart.MouseMove(kNoShift, (x0 + x1) / 2, 100);
  chart.MouseMove(kNoShift, x1, 150);
  chart.MouseUp(button, kNoShift, x1, 150);
}

using Panel = TCustomChartPanelExtended;
using Axes = TCustomAxisPanel;

// An event, how the hook and two listeners are set on it, and what raises it.
struct EventRow {
  const char* event;
  void (*listen)(TChart&, Log&);
  void (*raise)(TChart&);
};
void Repaint(TChart& chart) {
  chart.PaintChart(nullptr, chart.ClientRect());
}
const EventRow kEvents[] = {
    {"zoom", [](TChart& c, Log& l) { Listen(c, &Panel::OnZoom, &Panel::Zoomed, l); },
     [](TChart& c) { Drag(c, Qt::LeftButton, 100, 200); }},
    {"undo", [](TChart& c, Log& l) { Listen(c, &Panel::OnUndoZoom, &Panel::ZoomUndone, l); },
     [](TChart& c) { c.ResetZoom(); }},
    {"scroll", [](TChart& c, Log& l) { Listen(c, &Panel::OnScroll, &Panel::Scrolled, l); },
     [](TChart& c) { Drag(c, Qt::RightButton, 200, 150); }},
    {"axes",
     [](TChart& c, Log& l) { Listen(c, &Axes::OnBeforeDrawAxes, &Axes::BeforeDrawAxes, l); },
     Repaint},
    {"series",
     [](TChart& c, Log& l) { Listen(c, &Axes::OnBeforeDrawSeries, &Axes::BeforeDrawSeries, l); },
     Repaint},
    {"after series",
     [](TChart& c, Log& l) { Listen(c, &Axes::OnAfterDrawSeries, &Axes::AfterDrawSeries, l); },
     Repaint},
    {"after", [](TChart& c, Log& l) { Listen(c, &Axes::OnAfterDraw, &Axes::AfterDraw, l); },
     Repaint},
};

TEST(ChartEvents, EachReachesItsHookAndEveryListenerTogether) {
  for (const EventRow& row : kEvents) {
    OscilloscopeChart scope(389, 233);
    for (int i = 0; i <= 100; ++i)
      scope.Series1().AppendPoint(i * 0.25, (i % 20) - 10);
    scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
    Log log;
    row.listen(scope.chart, log);
    row.raise(scope.chart);
    ASSERT_FALSE(log.empty()) << row.event;
    for (std::size_t i = 0; i < log.size(); ++i)
      EXPECT_EQ(log[i], (Log{"hook", "a", "b"}[i % 3])) << row.event << ", call " << i;
    EXPECT_EQ(log.size() % 3, 0u) << row.event;
  }
}

// Q_ASSERT is compiled in exactly when QT_NO_DEBUG is not defined.
#ifndef QT_NO_DEBUG
TEST(ChartEventsDeathTest, ASecondHookOverATakenOneStopsADebugBuild) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the process has Qt's threads
  TChartHook<void()> hook;
  hook = [] {};
  hook = nullptr;
  hook = [] {};  // cleared in between: allowed
  EXPECT_DEATH(
      hook = [] {}, "listener already");
}
#endif

}  // namespace
