// SPDX-License-Identifier: GPL-3.0-or-later
// Series attached to a chart: order, axes, visible range, pixels and repaints.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "chart/chart.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

TEST(SeriesOnChart, AttachmentOrderIsDrawingOrder) {
  OscilloscopeChart scope(389, 233);
  const std::vector<TChartSeries*> expected = {scope.series[0].get(), scope.series[1].get(),
                                               scope.series[2].get(), scope.series[3].get()};
  EXPECT_EQ(scope.chart.SeriesList(), expected);
  // Leaving and joining again puts a series at the end.
  scope.series[0]->SetParentChart(nullptr);
  EXPECT_EQ(scope.series[0]->ResolvedHorizAxis(), nullptr);
  scope.series[0]->SetParentChart(&scope.chart);
  EXPECT_EQ(scope.chart.SeriesList().back(), scope.series[0].get());
  EXPECT_EQ(scope.chart.SeriesList().size(), 4u);

  std::vector<TChartSeries*> drawn;
  for (auto& s : scope.series) {
    s->AppendPoint(1, 1);
    s->BeforeDrawValues = [&](TChartSeries* sender) { drawn.push_back(sender); };
  }
  scope.series[2]->SetActive(false);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  EXPECT_EQ(drawn, (std::vector<TChartSeries*>{scope.series[1].get(), scope.series[3].get(),
                                               scope.series[0].get()}));
}

TEST(SeriesOnChart, AxesResolveFromTheChoice) {
  TChart chart;
  TFastLineSeries s;
  EXPECT_EQ(s.ResolvedVertAxis(), nullptr);
  s.SetParentChart(&chart);
  EXPECT_EQ(s.ResolvedHorizAxis(), &chart.BottomAxis());
  EXPECT_EQ(s.ResolvedVertAxis(), &chart.LeftAxis());
  EXPECT_TRUE(s.UsesAxis(&chart.BottomAxis()));
  EXPECT_FALSE(s.UsesAxis(&chart.TopAxis()));

  chart.PaintChart(nullptr, chart.ClientRect());
  s.SetHorizAxis(aTopAxis);
  EXPECT_TRUE(chart.BufferDirty());
  EXPECT_EQ(s.ResolvedHorizAxis(), &chart.TopAxis());
  chart.PaintChart(nullptr, chart.ClientRect());
  s.SetHorizAxis(aTopAxis);  // the same value again: no repaint
  EXPECT_FALSE(chart.BufferDirty());

  s.SetVertAxis(aBothVertAxis);
  EXPECT_EQ(s.ResolvedVertAxis(), &chart.LeftAxis());
  EXPECT_TRUE(s.UsesAxis(&chart.RightAxis()));
  s.SetVertAxis(aRightAxis);
  EXPECT_EQ(s.ResolvedVertAxis(), &chart.RightAxis());
  s.SetVertAxis(aCustomVertAxis);  // no custom axis set: the default one
  EXPECT_EQ(s.ResolvedVertAxis(), &chart.LeftAxis());
}

class VisibleRange : public testing::Test {
 protected:
  VisibleRange() : scope(389, 233) {
    for (int x = 0; x <= 50; ++x)
      series().AppendPoint(x, 0);  // 0 .. 50, the plot shows 0 .. 25
    scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  }
  TFastLineSeries& series() { return scope.Series1(); }
  OscilloscopeChart scope;
};

TEST_F(VisibleRange, KeepsThePointBeyondTheRightEdge) {
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, 0);
  EXPECT_EQ(series().LastVisibleIndex, 25);  // the point on the right edge
  scope.chart.BottomAxis().SetAxisRange(0, 24.5);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  series().ComputeVisibleRange();
  EXPECT_EQ(series().LastVisibleIndex, 25);  // the first point beyond the edge
  series().KeepEdgePoints = false;
  series().ComputeVisibleRange();
  EXPECT_EQ(series().LastVisibleIndex, 24);
}

TEST_F(VisibleRange, StartsAtTheFirstPointAtOrRightOfTheLeftEdge) {
  scope.chart.BottomAxis().SetAxisRange(10.5, 20);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, 11);
  EXPECT_EQ(series().LastVisibleIndex, 20);  // 20 lies on the right edge
}

TEST_F(VisibleRange, AllLeftOrAllRightOfThePlot) {
  scope.chart.BottomAxis().SetAxisRange(60, 70);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, -1);
  EXPECT_EQ(series().LastVisibleIndex, -1);

  scope.chart.BottomAxis().SetAxisRange(-20, -10);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, 0);
  EXPECT_EQ(series().LastVisibleIndex, 0);
}

TEST_F(VisibleRange, UnorderedOrUnclippedSeriesShowEveryPoint) {
  scope.chart.BottomAxis().SetAxisRange(60, 70);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  series().XValues().SetOrder(loNone);
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, 0);
  EXPECT_EQ(series().LastVisibleIndex, 50);
  series().XValues().SetOrder(loAscending);
  series().ClipToVisibleRange = false;
  series().ComputeVisibleRange();
  EXPECT_EQ(series().LastVisibleIndex, 50);
  series().ClearPoints();
  series().ComputeVisibleRange();
  EXPECT_EQ(series().FirstVisibleIndex, -1);
}

TEST_F(VisibleRange, MatchesAScanFromTheStartOnRandomData) {
  std::mt19937 random(3);
  for (int round = 0; round < 50; ++round) {
    series().ClearPoints();
    std::uniform_real_distribution<double> x(-10, 40);
    for (int i = 0; i < 60; ++i)
      series().AppendPoint(std::round(x(random)), 0);
    series().KeepEdgePoints = round % 2 == 0;
    series().ComputeVisibleRange();
    // The straightforward scan the visible range stands for.
    const TChartAxis& axis = scope.chart.BottomAxis();
    const double low = axis.PixelToValue(scope.chart.PlotRect.Left);
    const double high = axis.PixelToValue(scope.chart.PlotRect.Right);
    const int last = series().PointCount() - 1;
    int first = 0;
    while (first <= last && series().XValues().ValueAt(first) < low)
      ++first;
    if (first > last) {
      EXPECT_EQ(series().FirstVisibleIndex, -1);
      continue;
    }
    int end = last;
    if (series().XValues().ValueAt(last) > high) {
      end = first;
      while (end < last && series().XValues().ValueAt(end) < high)
        ++end;
      if (!series().KeepEdgePoints && series().XValues().ValueAt(end) > high) --end;
    }
    EXPECT_EQ(series().FirstVisibleIndex, first);
    EXPECT_EQ(series().LastVisibleIndex, end);
  }
}

TEST(SeriesOnChart, PixelsGoThroughTheSeriesAxes) {
  OscilloscopeChart scope(389, 233);
  TFastLineSeries& s = scope.Series1();
  s.AppendPoint(0, -25);
  s.AppendPoint(25, 25);
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  const TRect plot = scope.chart.PlotRect;
  EXPECT_EQ(s.XPixel(0), plot.Left);
  EXPECT_EQ(s.YPixel(0), plot.Bottom);
  EXPECT_EQ(s.XPixel(1), plot.Right);
  EXPECT_EQ(s.YPixel(1), plot.Top);
  EXPECT_DOUBLE_EQ(s.PixelToXValue(plot.Left), 0);
  EXPECT_DOUBLE_EQ(s.PixelToYValue(plot.Top), 25);
  EXPECT_EQ(s.MaximumY(), 25);
  EXPECT_EQ(s.MinimumX(), 0);
}

TEST(SeriesOnChart, RepaintRequestsReachTheChartOnlyWhenAttached) {
  TChart chart;
  TFastLineSeries s;
  s.AppendPoint(1, 1);  // no chart: nothing to ask
  s.SetParentChart(&chart);
  chart.PaintChart(nullptr, chart.ClientRect());
  EXPECT_FALSE(chart.BufferDirty());
  s.AppendPoint(2, 2);
  EXPECT_TRUE(chart.BufferDirty());
  chart.PaintChart(nullptr, chart.ClientRect());
  s.ClearPoints();
  EXPECT_TRUE(chart.BufferDirty());
}

}  // namespace
