// SPDX-License-Identifier: GPL-3.0-or-later
// Recording one row into a notebook of 10 000 rows while its window is open: the window
// follows the model, rebuilds the plot and its fitted line, and the plot is painted in full at
// the size the window gives it on opening. Compared with a full paint of the oscilloscope
// screen at 1520 × 760 in the same run.
//
// Then the notebook's file, without the window: F5 (the row appended to the file under its lock
// and to the model) in a notebook of 10 rows and of 100 000, and the start of the program with
// 100 000 rows (the file read into the model).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QTableView>
#include <QTemporaryDir>
#include <random>
#include <vector>

#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"
#include "app/notebook/notebook_window.h"
#include "chart/chart.h"
#include "ratio_reporter.h"
#include "screen_paint.h"
#include "tests/support/oscilloscope_chart.h"

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
  rows.reserve(kRows);
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

// A notebook file of `rows` rows, as the program leaves it.
QString NotebookFileOf(const QTemporaryDir& dir, int rows) {
  std::mt19937 random(7);
  std::vector<TNotebookRow> recorded;
  for (int k = 0; k < rows; ++k) {
    recorded.push_back(Reading(random));
    recorded.back().id = NewNotebookRowId();
  }
  QString path = dir.filePath(QStringLiteral("releves.tsv"));
  TNotebookFile(path).Save(recorded);
  return path;
}

// F5 as the main window runs it, less the reading of the instruments: the same number of rows
// recorded in each run, so the notebook stays near its size.
void BM_RecordRow(benchmark::State& state) {
  const QTemporaryDir dir;
  TNotebookModel model;
  TNotebookStore store(&model, NotebookFileOf(dir, int(state.range(0))));
  store.Load();
  std::mt19937 random(13);
  const TNotebookRow recorded = Reading(random);
  for (auto _ : state) {
    const QString message = store.Record(recorded);
    if (!message.isEmpty()) state.SkipWithError(message.toStdString().c_str());
  }
  state.counters["rows_after"] = double(model.rowCount());
}
BENCHMARK(BM_RecordRow)
    ->Arg(10)
    ->Arg(100'000)
    ->Iterations(2000)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond);

// The start: the notebook's file read into the model.
void BM_LoadNotebook(benchmark::State& state) {
  const QTemporaryDir dir;
  const QString path = NotebookFileOf(dir, int(state.range(0)));
  for (auto _ : state) {
    TNotebookModel model;
    TNotebookStore store(&model, path);
    const QString message = store.Load();
    if (!message.isEmpty() || model.rowCount() != state.range(0)) state.SkipWithError("not loaded");
  }
}
BENCHMARK(BM_LoadNotebook)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv,
                       {{"BM_RecordRowAndPaintPlot", "BM_OscilloscopeFullPaint"},
                        {"BM_RecordRow/100000/iterations:2000/repeats:3",
                         "BM_RecordRow/10/iterations:2000/repeats:3"},
                        {"BM_LoadNotebook/100000", "BM_RecordRow/10/iterations:2000/repeats:3"}});
}
