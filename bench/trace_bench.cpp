// SPDX-License-Identifier: GPL-3.0-or-later
// What one scroll notification costs end to end: the recomputation (1001 appends into two
// series) and one full paint of the 1520 × 760 screen, against the gradient-and-copy baseline;
// the same at twice the density; the same with channel 2's current on (its model, 500 more
// appends, the right axis with its labels and title); and the same scene drawn by Qt Charts, when
// it is installed.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "app/oscilloscope_settings.h"
#include "chart/chart.h"
#include "ratio_reporter.h"
#include "screen_paint.h"
#include "sim/bench.h"
#include "sim/current_wave.h"
#include "tests/support/bench_scene.h"
#include "tests/support/oscilloscope_chart.h"

#ifdef SIMHACHEUR_HAVE_QTCHARTS
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#endif

namespace {

constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;

void BM_GradientAndCopyBaseline(benchmark::State& state) {
  GradientAndCopy(state);
}
BENCHMARK(BM_GradientAndCopyBaseline)->Unit(benchmark::kMicrosecond);

// One recomputation, `follow` (what else the window fills from the bench), one full paint.
template <class Screen, class Follow>
void ScrollOn(benchmark::State& state, Screen& scope, Follow follow) {
  TSeriesTrace<TFastLineSeries> trace1(scope.Series1()), trace4(scope.Series4());
  TBench bench(nullptr, &trace1, &trace4);
  SetUpTwoQuadrantBench(bench, 100);
  QImage target(kWidth, kHeight, QImage::Format_RGB32);
  TCanvas canvas(&target);
  for (auto _ : state) {
    TBenchSteps(bench).RefreshBench();
    follow(bench);
    scope.chart.PaintChart(&canvas, scope.chart.ClientRect());
    benchmark::DoNotOptimize(target.constBits());
  }
}

void BM_ScrollNotification(benchmark::State& state) {
  OscilloscopeChart scope(kWidth, kHeight);
  ScrollOn(state, scope, [](const TBench&) {});
}
BENCHMARK(BM_ScrollNotification)->Unit(benchmark::kMicrosecond);

// The same on a 2× screen: four times the pixels, lines and text drawn at that density.
void BM_ScrollNotificationAt2x(benchmark::State& state) {
  OscilloscopeChart scope(kWidth, kHeight);
  TSeriesTrace<TFastLineSeries> trace1(scope.Series1()), trace4(scope.Series4());
  TBench bench(nullptr, &trace1, &trace4);
  SetUpTwoQuadrantBench(bench, 100);
  QImage target(2 * kWidth, 2 * kHeight, QImage::Format_RGB32);
  TCanvas canvas(&target);
  canvas.SetScale(2);
  for (auto _ : state) {
    TBenchSteps(bench).RefreshBench();
    scope.chart.PaintChart(&canvas, scope.chart.ClientRect());
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_ScrollNotificationAt2x)->Unit(benchmark::kMicrosecond);

// The window's screen with channel 2 on: the current after the trace in the drawing order, on
// the right axis with its title, 500 values from the current model on the trace's X values
// after each recomputation, as the window fills them.
struct TwoChannelScreen {
  TwoChannelScreen(int width, int height) {
    namespace osc = oscilloscope;
    osc::ApplyChartSettings(chart);
    for (const osc::TTraceSetting* setting :
         {&osc::kTraces[0], &osc::kTraces[1], &osc::kCurrentTrace, &osc::kTraces[2],
          &osc::kTraces[3]})
      series.emplace_back(osc::MakeTrace(chart, *setting));
    Current().SetVertAxis(aRightAxis);
    osc::ApplyCurrentAxisSettings(chart);
    chart.RightAxis().Title.SetCaption(QStringLiteral("i (A)"));
    chart.resize(width, height);
  }
  TFastLineSeries& Series4() { return *series[0]; }
  TFastLineSeries& Series1() { return *series[1]; }
  TFastLineSeries& Current() { return *series[2]; }
  void ShowCurrent(const TBench& bench) {
    const TCurrentWave wave = ComputeCurrentWave(bench);
    const TChartValueList& times = Series1().XValues();
    Current().ClearPoints();
    for (int k = 0; k < times.ValueCount(); ++k)
      Current().AppendPoint(times.ValueAt(k), wave.i[static_cast<std::size_t>(k)]);
  }

  TChart chart;
  std::vector<std::unique_ptr<TFastLineSeries>> series;  // Series4, Series1, Series7, 2, 3
};

void BM_ScrollNotificationTwoTraces(benchmark::State& state) {
  TwoChannelScreen scope(kWidth, kHeight);
  ScrollOn(state, scope, [&scope](const TBench& bench) { scope.ShowCurrent(bench); });
}
BENCHMARK(BM_ScrollNotificationTwoTraces)->Unit(benchmark::kMicrosecond);

#ifdef SIMHACHEUR_HAVE_QTCHARTS
// The same scene in Qt Charts: two line series of 501 and 500 points appended one at a time,
// the same axes, no animation, no antialiasing, rendered into an image.
void QtChartsScene(benchmark::State& state, bool shown) {
  TBench bench;
  const TBenchSteps steps(bench);
  SetUpTwoQuadrantBench(bench, 100);
  steps.UpdateMeanVoltage();
  steps.BuildChopperWave();

  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->legend()->hide();
  auto* zero = new QLineSeries;
  auto* wave = new QLineSeries;
  zero->setColor(Qt::blue);
  wave->setColor(Qt::red);
  chart->addSeries(zero);
  chart->addSeries(wave);
  auto* time = new QValueAxis;
  auto* volts = new QValueAxis;
  time->setRange(0, 25);
  volts->setRange(-25, 25);
  chart->addAxis(time, Qt::AlignBottom);
  chart->addAxis(volts, Qt::AlignLeft);
  for (QLineSeries* s : {zero, wave}) {
    s->attachAxis(time);
    s->attachAxis(volts);
  }
  QChartView view(chart);
  view.setRenderHint(QPainter::Antialiasing, false);
  view.resize(kWidth, kHeight);
  if (shown) {
    view.show();  // on screen, as in a program: every append also updates the scene's index
    QCoreApplication::processEvents();
  }
  QImage target(kWidth, kHeight, QImage::Format_RGB32);

  for (auto _ : state) {
    zero->clear();
    wave->clear();
    long double t = 0;
    for (int i = 0; i < 501; ++i, t += 0.05L)
      zero->append(static_cast<double>(t), 0);
    t = 0;
    for (int period = 0; period < 5; ++period) {
      for (std::size_t i = 0; i < 100; ++i, t += 0.05L) {
        wave->append(static_cast<double>(t), static_cast<double>(bench.WaveSamples()[i]));
      }
    }
    QPainter painter(&target);
    view.render(&painter);
    benchmark::DoNotOptimize(target.constBits());
  }
}
void BM_QtChartsScene(benchmark::State& state) {
  QtChartsScene(state, true);
}
BENCHMARK(BM_QtChartsScene)->Unit(benchmark::kMicrosecond);
// The view never shown: the least Qt Charts can take for the scene.
void BM_QtChartsSceneHidden(benchmark::State& state) {
  QtChartsScene(state, false);
}
BENCHMARK(BM_QtChartsSceneHidden)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv,
                       {{"BM_ScrollNotification", "BM_GradientAndCopyBaseline"},
                        {"BM_ScrollNotificationAt2x", "BM_ScrollNotification"},
                        {"BM_ScrollNotificationTwoTraces", "BM_ScrollNotification"},
                        {"BM_QtChartsScene", "BM_ScrollNotification"},
                        {"BM_QtChartsScene", "BM_GradientAndCopyBaseline"},
                        {"BM_QtChartsSceneHidden", "BM_ScrollNotification"},
                        {"BM_QtChartsSceneHidden", "BM_GradientAndCopyBaseline"}});
}
