// Recording one row into a notebook of 10 000 rows while its window is open: the window
// follows the model, rebuilds the plot and its fitted line, and the plot is painted in full at
// the size the window gives it on opening. Compared with a full paint of the oscilloscope
// screen at 1520 × 760 in the same run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTableView>
#include <random>
#include <vector>

#include "app/notebook_model.h"
#include "app/notebook_window.h"
#include "bench_scenes.h"
#include "chart/chart.h"
#include "oscilloscope_chart.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRows = 10'000;

// A reading of the bench: n ≈ 300·U with some scatter, as a class records it.
TNotebookRow Reading(std::mt19937& random) {
  std::uniform_real_distribution<double> voltage(0, 10);
  std::normal_distribution<double> scatter(0, 20);
  TNotebookRow row;
  row.time = "2025-03-14 10:12:05";
  row.experiment = "Hacheur 2 quadrants";
  row.wiring = "moteur branché sans effet de self";
  row.chopperType = "hacheur série";
  row.direction = "horaire";
  const double u = voltage(random);
  row.setPoint = u * 10;
  row.voltage = u;
  row.speed = 300 * u + scatter(random);
  return row;
}

void BM_OscilloscopeFullPaint(benchmark::State& state) {
  OscilloscopeChart scope(kScreenWidth, kScreenHeight);
  PaintRepeatedly(state, scope.chart);
}
BENCHMARK(BM_OscilloscopeFullPaint)->Unit(benchmark::kMicrosecond);

void BM_RecordRowAndPaintPlot(benchmark::State& state) {
  std::mt19937 random(12);
  std::vector<TNotebookRow> rows;
  for (int k = 0; k < kRows; ++k)
    rows.push_back(Reading(random));
  TNotebookModel model;
  model.SetRows(std::move(rows));
  TNotebookWindow window(&model);
  window.show();
  auto* chart = window.findChild<TChart*>(QStringLiteral("NotebookChart"));
  QImage target(chart->width(), chart->height(), QImage::Format_RGB32);
  TCanvas canvas(&target);
  const TNotebookRow recorded = Reading(random);
  for (auto _ : state) {
    model.Append(recorded);
    chart->PaintChart(&canvas, chart->ClientRect());
    benchmark::DoNotOptimize(target.constBits());
    // Back to 10 000 rows for the next turn, off the clock.
    state.PauseTiming();
    model.RemoveRows({kRows});
    state.ResumeTiming();
  }
  state.counters["plot_width"] = chart->width();
  state.counters["plot_height"] = chart->height();
}
BENCHMARK(BM_RecordRowAndPaintPlot)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv, {{"BM_RecordRowAndPaintPlot", "BM_OscilloscopeFullPaint"}});
}
