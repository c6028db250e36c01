// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's own mouse handling: zooming, undoing, panning, the wheel and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/chart.h"
#include "chart/panel/event_shield.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

const TShiftState kNoShift{};

class ZoomTest : public testing::Test {
 protected:
  ZoomTest() : scope(389, 233) {
    for (int i = 0; i <= 100; ++i)
      scope.Series1().AppendPoint(i * 0.25, (i % 20) - 10);
    Paint();
  }
  void Paint() { scope.chart.PaintChart(nullptr, scope.chart.ClientRect()); }
  void Drag(Qt::MouseButton button, int x0, int y0, int x1, int y1) {
    chart().MouseDown(button, kNoShift, x0, y0);
    chart().MouseMove(kNoShift, (x0 + x1) / 2, (y0 + y1) / 2);
    chart().MouseMove(kNoShift, x1, y1);
    chart().MouseUp(button, kNoShift, x1, y1);
  }
  TChart& chart() { return scope.chart; }
  TChartAxis& bottom() { return scope.chart.BottomAxis(); }
  TChartAxis& left() { return scope.chart.LeftAxis(); }
  OscilloscopeChart scope;
};

TEST_F(ZoomTest, DragRightAndDownZoomsIntoTheRectangle) {
  const double t0 = bottom().PixelToValue(100), t1 = bottom().PixelToValue(200);
  const double u0 = left().PixelToValue(150), u1 = left().PixelToValue(50);
  int zooms = 0;
  chart().OnZoom = [&](TCustomChartPanelExtended*) { ++zooms; };
  Drag(Qt::LeftButton, 100, 50, 200, 150);
  EXPECT_DOUBLE_EQ(bottom().Minimum(), t0);
  EXPECT_DOUBLE_EQ(bottom().Maximum(), t1);
  EXPECT_DOUBLE_EQ(left().Minimum(), u0);
  EXPECT_DOUBLE_EQ(left().Maximum(), u1);
  EXPECT_EQ(zooms, 1);
  EXPECT_FALSE(chart().ScalesUntouched());
  EXPECT_TRUE(chart().BufferDirty());
}

TEST_F(ZoomTest, AnyOtherDirectionUndoesTheZoom) {
  for (auto [x0, y0, x1, y1] :
       {std::tuple{200, 150, 100, 50}, {100, 150, 200, 50}, {200, 50, 100, 150}}) {
    Drag(Qt::LeftButton, 100, 50, 200, 150);
    ASSERT_NE(bottom().Maximum(), 25);
    int undos = 0;
    chart().OnUndoZoom = [&](TCustomChartPanelExtended*) { ++undos; };
    Drag(Qt::LeftButton, x0, y0, x1, y1);
    EXPECT_EQ(bottom().Minimum(), 0);
    EXPECT_EQ(bottom().Maximum(), 25);
    EXPECT_EQ(left().Minimum(), -25);
    EXPECT_EQ(left().Maximum(), 25);
    EXPECT_EQ(undos, 1);
    chart().OnUndoZoom = nullptr;
  }
}

TEST_F(ZoomTest, ShortDragsDoNothing) {
  Drag(Qt::LeftButton, 100, 100, 116, 200);  // 16 pixels across: nothing
  Drag(Qt::LeftButton, 100, 100, 200, 116);
  EXPECT_EQ(bottom().Maximum(), 25);
  EXPECT_TRUE(chart().ScalesUntouched());
  Drag(Qt::LeftButton, 100, 100, 117, 117);  // 17 both ways: a zoom
  EXPECT_NE(bottom().Maximum(), 25);
}

TEST_F(ZoomTest, ResetReturnsToTheScalesBeforeTheFirstZoom) {
  Drag(Qt::LeftButton, 100, 50, 200, 150);
  Paint();
  Drag(Qt::LeftButton, 120, 60, 300, 180);
  chart().ResetZoom();
  EXPECT_EQ(bottom().Minimum(), 0);
  EXPECT_EQ(bottom().Maximum(), 25);
  EXPECT_EQ(left().Minimum(), -25);
  EXPECT_FALSE(bottom().Automatic());  // the fixed axes stay fixed
  EXPECT_TRUE(chart().ScalesUntouched());
  // A pan after the reset saves afresh: the next reset comes back here.
  Paint();
  Drag(Qt::RightButton, 200, 100, 150, 100);
  EXPECT_GT(bottom().Minimum(), 0);
  chart().ResetZoom();
  EXPECT_EQ(bottom().Minimum(), 0);
}

TEST_F(ZoomTest, RightDragPansUntilThePointerLeavesThePlot) {
  const double before = bottom().Minimum();
  int scrolls = 0;
  chart().OnScroll = [&](TCustomChartPanelExtended*) { ++scrolls; };
  chart().MouseDown(Qt::RightButton, kNoShift, 200, 100);
  chart().MouseMove(kNoShift, 150, 100);  // dragged left: the data moves left, the range up
  EXPECT_NEAR(bottom().Minimum() - before, bottom().PixelToValue(200) - bottom().PixelToValue(150),
              1e-9);
  EXPECT_EQ(left().Minimum(), -25);  // no vertical move
  EXPECT_EQ(scrolls, 1);
  chart().MouseMove(kNoShift, 1, 100);  // out of the plot: panning ends
  EXPECT_FALSE(chart().PanState.IsActive);
  const double stopped = bottom().Minimum();
  chart().MouseMove(kNoShift, 120, 100);  // back in, without a new press: nothing
  EXPECT_EQ(bottom().Minimum(), stopped);
  chart().MouseUp(Qt::RightButton, kNoShift, 120, 100);
}

TEST_F(ZoomTest, PanningLimitedToOneOrientation) {
  chart().SetAllowPanning(pmHorizontal);
  int scrolls = 0;
  chart().OnScroll = [&](TCustomChartPanelExtended*) { ++scrolls; };
  chart().MouseDown(Qt::RightButton, kNoShift, 200, 100);
  chart().MouseMove(kNoShift, 200, 140);  // vertical only: no axis moves, no OnScroll
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(left().Maximum(), 25);
  chart().MouseMove(kNoShift, 180, 120);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(left().Maximum(), 25);
  EXPECT_NE(bottom().Minimum(), 0);
  chart().MouseUp(Qt::RightButton, kNoShift, 180, 120);
}

TEST_F(ZoomTest, AllowScrollCanVetoButTheScrollIsStillReported) {
  int scrolls = 0;
  chart().OnScroll = [&](TCustomChartPanelExtended*) { ++scrolls; };
  chart().OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
  Drag(Qt::RightButton, 200, 100, 150, 80);
  EXPECT_EQ(bottom().Minimum(), 0);
  EXPECT_EQ(left().Maximum(), 25);
  EXPECT_GE(scrolls, 1);
  EXPECT_TRUE(chart().BufferDirty());
}

TEST_F(ZoomTest, WheelNotchScrollsTheVerticalAxisByThreePercent) {
  chart().MouseWheel(-1);  // one notch towards the user
  EXPECT_DOUBLE_EQ(left().Minimum(), -23.5);
  EXPECT_DOUBLE_EQ(left().Maximum(), 26.5);
  EXPECT_EQ(bottom().Minimum(), 0);
  chart().MouseWheel(1);
  EXPECT_NEAR(left().Minimum(), -25, 1e-12);
  EXPECT_FALSE(chart().ScalesUntouched());  // the first notch saved the scales for a reset
}

TEST_F(ZoomTest, ZoomRectangleFollowsThePointerWithoutRepainting) {
  const QImage before = *chart().BufferImage();
  chart().MouseDown(Qt::LeftButton, kNoShift, 100, 50);
  chart().MouseMove(kNoShift, 150, 120);
  EXPECT_FALSE(chart().BufferDirty());  // drawn over the image, not repainted
  const QImage& during = *chart().BufferImage();
  EXPECT_NE(during.pixel(125, 50), before.pixel(125, 50));  // on the rectangle's top edge
  EXPECT_EQ(during.pixel(125, 80), before.pixel(125, 80));  // inside it: untouched
  chart().MouseMove(kNoShift, 150, 120);                    // the same pixel again: nothing
  chart().MouseDown(Qt::LeftButton, kNoShift, 300, 200);    // a second press: ignored
  EXPECT_EQ(chart().ZoomState.StartX, 100);
  chart().MouseUp(Qt::LeftButton, kNoShift, 105, 55);  // too short: nothing
  EXPECT_EQ(*chart().BufferImage(), before);           // the rectangle is gone
  EXPECT_EQ(bottom().Maximum(), 25);
}

TEST_F(ZoomTest, ClicksAreClassifiedSeriesFirst) {
  TFastLineSeries& trace = scope.Series1();
  const int x = trace.XPixel(10), y = trace.YPixel(10);
  TChartClickedPart part = chart().ClassifyClick(x, y);
  EXPECT_EQ(part.Part, cpSeries);
  EXPECT_EQ(part.ASeries, &trace);
  EXPECT_EQ(part.PointIndex, 10);
  part = chart().ClassifyClick(left().AxisLinePos() + 1, 100);
  EXPECT_EQ(part.Part, cpAxis);
  EXPECT_EQ(part.AAxis, &left());
  EXPECT_EQ(chart().ClassifyClick(300, 30).Part, cpChartRect);
  EXPECT_EQ(chart().ClassifyClick(385, 2).Part, cpNone);
}

TEST_F(ZoomTest, AConsumedSeriesClickStartsNoZoom) {
  TFastLineSeries& trace = scope.Series1();
  int clicks = 0, background = 0;
  chart().OnClickSeries = [&](TCustomChart*, TChartSeries* s, int index, Qt::MouseButton,
                              TShiftState, int, int) {
    EXPECT_EQ(s, &trace);
    EXPECT_EQ(index, 10);
    ++clicks;  // leaves MouseConsumed set
  };
  chart().OnClickBackground = [&](TCustomChart*, Qt::MouseButton, TShiftState, int, int) {
    ++background;
  };
  chart().MouseDown(Qt::LeftButton, kNoShift, trace.XPixel(10), trace.YPixel(10));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(chart().ZoomState.IsActive);
  EXPECT_EQ(background, 0);
  // A handler that clears MouseConsumed lets the zoom start.
  chart().OnClickSeries = [&](TCustomChart* c, TChartSeries*, int, Qt::MouseButton, TShiftState,
                              int, int) { c->MouseConsumed = false; };
  chart().MouseDown(Qt::LeftButton, kNoShift, trace.XPixel(10), trace.YPixel(10));
  EXPECT_TRUE(chart().ZoomState.IsActive);
  chart().MouseUp(Qt::LeftButton, kNoShift, trace.XPixel(10), trace.YPixel(10));
  // A press outside the plot and every part: the background, once.
  chart().MouseDown(Qt::LeftButton, kNoShift, 385, 2);
  EXPECT_EQ(background, 1);
  chart().MouseDown(Qt::LeftButton, kNoShift, 300, 30);
  EXPECT_EQ(background, 2);
}

TEST_F(ZoomTest, PointerToValuesReadsThePointerNow) {
  chart().show();
  QCursor::setPos(chart().mapToGlobal(QPoint(bottom().PixelStart(), left().PixelStart())));
  double t = -1, u = -1;
  scope.Series1().PointerToValues(t, u);
  EXPECT_DOUBLE_EQ(t, 0);
  EXPECT_DOUBLE_EQ(u, 25);
}
TEST_F(ZoomTest, AnimatedZoomEndsOnTheTargetWithOneZoomEvent) {
  chart().SetAnimatedZoom(true);
  int zooms = 0;
  chart().OnZoom = [&](TCustomChartPanelExtended*) { ++zooms; };
  chart().ApplyZoom(0, 1, 5, 10, -2, 4, 0, 1);
  EXPECT_EQ(zooms, 1);
  EXPECT_EQ(bottom().Minimum(), 5);
  EXPECT_EQ(bottom().Maximum(), 10);
  EXPECT_EQ(left().Minimum(), -2);
  EXPECT_EQ(left().Maximum(), 4);
  chart().ResetZoom();
  EXPECT_EQ(left().Maximum(), 25);
}

TEST_F(ZoomTest, SeriesClickEventsAndLeavingTheChart) {
  TFastLineSeries& trace = scope.Series1();
  std::vector<std::string> events;
  trace.OnClick = [&](TChartSeries*, int index, Qt::MouseButton, TShiftState, int, int) {
    events.push_back("click " + std::to_string(index));
  };
  trace.OnDblClick = [&](TChartSeries*, int index, Qt::MouseButton, TShiftState, int, int) {
    events.push_back("double " + std::to_string(index));
  };
  const int x = trace.XPixel(20), y = trace.YPixel(20);
  chart().MouseDown(Qt::LeftButton, kNoShift, x, y);
  TShiftState twice;
  twice.DoubleClick = true;
  chart().MouseDown(Qt::LeftButton, twice, x, y);
  EXPECT_EQ(events, (std::vector<std::string>{"click 20", "double 20"}));
  EXPECT_FALSE(chart().ZoomState.IsActive);  // both consumed the press

  chart().MouseDown(Qt::RightButton, kNoShift, 200, 100);
  EXPECT_TRUE(chart().PanState.IsActive);
  chart().MouseLeave();
  EXPECT_FALSE(chart().PanState.IsActive);
  chart().MouseDown(Qt::LeftButton, kNoShift, 200, 100);
  chart().MouseLeave();  // a zoom drag stays
  EXPECT_TRUE(chart().ZoomState.IsActive);
  EXPECT_EQ(chart().cursor().shape(), Qt::CrossCursor);
}

// Whatever a handler throws stops at the event's entry point: the event loop cannot carry it.
TEST_F(ZoomTest, ExceptionsStopAtTheWindowSystemEvents) {
  std::vector<std::string> faults;
  const TChartFaultHandler previous =
      SetChartFaultHandler([&](const std::string& where, const std::string& what) {
        faults.push_back(where + ": " + what);
      });
  chart().OnMouseDown = [](TCustomChart*, Qt::MouseButton, TShiftState, int, int) {
    throw std::runtime_error("appui");
  };
  chart().OnMouseMove = [](TCustomChart*, TShiftState, int, int) {
    throw std::runtime_error("déplacement");
  };
  const QPointF at(200, 100);
  QMouseEvent press(QEvent::MouseButtonPress, at, chart().mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent move(QEvent::MouseMove, at, chart().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&chart(), &press);
  QApplication::sendEvent(&chart(), &move);
  SetChartFaultHandler(previous);
  EXPECT_EQ(faults,
            (std::vector<std::string>{"mousePressEvent: appui", "mouseMoveEvent: déplacement"}));
}

// The hook writes `tag`, then each of two listeners of the signal writes '+'.
template <class Owner>
void Listen(TChart& chart, TChartHook<void(Owner*)> Owner::*hook, void (Owner::*signal)(Owner*),
            char tag, std::string& log) {
  chart.*hook = [&log, tag](Owner*) { log += tag; };
  for (int i = 0; i < 2; ++i)
    QObject::connect(&chart, signal, [&](Owner* sender) { log += sender == &chart ? '+' : '?'; });
}

// Each event reaches its one hook, then every listener of its signal, once each time.
TEST_F(ZoomTest, EachEventReachesItsHookThenEveryListener) {
  using Panel = TCustomChartPanelExtended;
  using Axes = TCustomAxisPanel;
  std::string log;
  Listen(chart(), &Panel::OnZoom, &Panel::Zoomed, 'z', log);
  Listen(chart(), &Panel::OnUndoZoom, &Panel::ZoomUndone, 'u', log);
  Listen(chart(), &Panel::OnScroll, &Panel::Scrolled, 's', log);
  Listen(chart(), &Axes::OnBeforeDrawAxes, &Axes::BeforeDrawAxes, 'a', log);
  Listen(chart(), &Axes::OnBeforeDrawSeries, &Axes::BeforeDrawSeries, 'b', log);
  Listen(chart(), &Axes::OnAfterDrawSeries, &Axes::AfterDrawSeries, 'c', log);
  Listen(chart(), &Axes::OnAfterDraw, &Axes::AfterDraw, 'd', log);
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] { Paint(); }, "a++b++c++d++"},
      {[&] { chart().ApplyZoom(0, 1, 5, 10, -2, 4, 0, 1); }, "z++"},
      {[&] { chart().ResetZoom(); }, "u++"},
      {[&] { Drag(Qt::RightButton, 200, 100, 100, 100); }, "s++s++"},
  };
  for (const auto& [raise, expected] : rows) {
    log.clear();
    raise();
    EXPECT_EQ(log, expected);
  }
}

#ifndef QT_NO_DEBUG  // where Q_ASSERT is compiled in
TEST(ChartHookDeathTest, ASecondListenerOverATakenHookStopsADebugBuild) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the process has Qt's threads
  TChartHook<void()> hook;
  const auto listener = [] {};
  hook = listener;
  EXPECT_DEATH(hook = listener, "listener already");
}
#endif

}  // namespace
