// SPDX-License-Identifier: GPL-3.0-or-later
// What one scroll notification costs the model: RefreshBench with its 1001 appends into two
// chart series, against writing the same 1001 (x, y) pairs into preallocated plain arrays.
#include <benchmark/benchmark.h>

#include <array>

#include "chart/chart.h"
#include "ratio_reporter.h"
#include "sim/bench.h"
#include "tests/support/bench_scene.h"

namespace {

class NullOutput : public TBenchOutput {
 public:
  void ShowReading(TInstrument, const std::string& text) override {
    benchmark::DoNotOptimize(text.data());
  }
};

// The recomputation into two series of the given kind attached to a chart.
template <class TSeries>
void RefreshInto(benchmark::State& state) {
  TChart chart;
  TSeries series1, series4;
  series4.SetParentChart(&chart);
  series1.SetParentChart(&chart);
  TSeriesTrace trace1(series1), trace4(series4);
  NullOutput output;
  TBench bench(&output, &trace1, &trace4);
  SetUpTwoQuadrantBench(bench, 100);
  for (auto _ : state) {
    TBenchSteps(bench).RefreshBench();
    benchmark::DoNotOptimize(series1.PointCount());
  }
  state.SetItemsProcessed(state.iterations() * 1001);
}

// As the program runs it: the oscilloscope's traces are fast line series.
void BM_RefreshBench(benchmark::State& state) {
  RefreshInto<TFastLineSeries>(state);
}
BENCHMARK(BM_RefreshBench);

// The point storage alone, through the series base class.
void BM_RefreshBenchBaseSeries(benchmark::State& state) {
  RefreshInto<TChartSeries>(state);
}
BENCHMARK(BM_RefreshBenchBaseSeries);

// The least any implementation must do: the same pairs, same time steps, into fixed arrays.
void BM_PlainArraysBaseline(benchmark::State& state) {
  TBench bench;
  SetUpTwoQuadrantBench(bench, 100);
  TBenchSteps(bench).BuildChopperWave();
  static std::array<double, 501> x4, y4;
  static std::array<double, 500> x1, y1;
  for (auto _ : state) {
    long double t = 0;
    for (std::size_t i = 0; i < 501; ++i) {
      x4[i] = static_cast<double>(t);
      y4[i] = 0;
      t += 0.05L;
    }
    t = 0;
    for (std::size_t i = 0; i < 500; ++i) {
      x1[i] = static_cast<double>(t);
      y1[i] = static_cast<double>(bench.WaveSamples()[i % 100]);
      t += 0.05L;
    }
    benchmark::DoNotOptimize(x4.data());
    benchmark::DoNotOptimize(y4.data());
    benchmark::DoNotOptimize(x1.data());
    benchmark::DoNotOptimize(y1.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1001);
}
BENCHMARK(BM_PlainArraysBaseline);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv,
                       {{"BM_RefreshBench", "BM_PlainArraysBaseline"},
                        {"BM_RefreshBenchBaseSeries", "BM_PlainArraysBaseline"}});
}
