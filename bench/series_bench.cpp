// Point storage of a chart series: the cost per appended point from 1e4 to 1e6 points, and
// the bytes a stored point holds.
#include <benchmark/benchmark.h>
#include <malloc.h>


#include "chart/chart.h"
#include "ratio_reporter.h"

namespace {

// Bytes the heap has handed out and not taken back, small blocks and mapped ones alike.
long long HeapBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks + info.hblkhd);
}

}  // namespace

namespace {

void BM_AppendThenClear(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TCustomAxisPanel chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  for (auto _ : state) {
    for (int i = 0; i < count; ++i) series.AppendPoint(i * 0.05, i % 100);
    series.ClearPoints();
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * count,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendThenClear)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_BytesPerPoint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  double bytesPerPoint = 0;
  for (auto _ : state) {
    TChartSeries series;
    const long long before = HeapBytesInUse();
    for (int i = 0; i < count; ++i) series.AppendPoint(i * 0.05, i % 100);
    bytesPerPoint = static_cast<double>(HeapBytesInUse() - before) / count;
    series.ClearPoints();
  }
  state.counters["bytes_per_point"] = bytesPerPoint;
}
BENCHMARK(BM_BytesPerPoint)->Arg(1000000)->Arg(1048576)->Arg(1200000)->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(
      argc, argv,
      {{"BM_AppendThenClear/1000000", "BM_AppendThenClear/10000"},
       {"BM_AppendThenClear/100000", "BM_AppendThenClear/10000"}});
}
