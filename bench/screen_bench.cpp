// SPDX-License-Identifier: GPL-3.0-or-later
// A full paint of the empty oscilloscope screen at 1520 × 760, against the least any paint of
// this screen must do: a 256-band gradient filled into an image and one copy of it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include "chart/chart.h"
#include "ratio_reporter.h"
#include "screen_paint.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;

void BM_GradientAndCopyBaseline(benchmark::State& state) {
  GradientAndCopy(state);
}
BENCHMARK(BM_GradientAndCopyBaseline)->Unit(benchmark::kMicrosecond);

void BM_PaintEmptyScreen(benchmark::State& state) {
  OscilloscopeChart scope(kWidth, kHeight);
  PaintRepeatedly(state, scope.chart);
}
BENCHMARK(BM_PaintEmptyScreen)->Unit(benchmark::kMicrosecond);

// A paint message while the image is clean (the window was uncovered, nothing changed).
void BM_PaintRequestOnCleanImage(benchmark::State& state) {
  OscilloscopeChart scope(kWidth, kHeight);
  scope.chart.show();
  // Let the window system expose the window and deliver the first (full) paint.
  for (int i = 0; i < 10 && scope.chart.BufferDirty(); ++i) {
    QCoreApplication::processEvents();
    scope.chart.repaint();
  }
  for (auto _ : state) {
    scope.chart.repaint();
    benchmark::DoNotOptimize(scope.chart.BufferDirty());
  }
  if (scope.chart.BufferDirty()) state.SkipWithError("the image was repainted, not copied");
}
BENCHMARK(BM_PaintRequestOnCleanImage)->Unit(benchmark::kMicrosecond);

// One copy of the screen into the window's backing store, the way a clean paint shows it.
void BM_OneCopyBaseline(benchmark::State& state) {
  QWidget window;
  window.resize(kWidth, kHeight);
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  screen.fill(Qt::white);
  QImage target(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter copy(&target);
    copy.drawImage(0, 0, screen);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_OneCopyBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv,
                       {{"BM_PaintEmptyScreen", "BM_GradientAndCopyBaseline"},
                        {"BM_PaintRequestOnCleanImage", "BM_OneCopyBaseline"}});
}
