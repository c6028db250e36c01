// SPDX-License-Identifier: GPL-3.0-or-later
// Point storage of a chart series: the cost per appended point from 1e4 to 1e6 points, and
// the bytes a stored point holds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <fstream>
#include <string>

#include "chart/chart.h"
#include "ratio_reporter.h"

namespace {

// Bytes the allocator has handed out and not taken back.
long long HeapBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks) + static_cast<long long>(info.hblkhd);
}

// The process's data mappings (VmData), which take in the pages large point lists map for
// themselves, touched or not.
long long MappedDataBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmData:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  }
  return 0;
}

// Everything held: what the allocator handed out plus what was mapped beside it. A heap that
// grew and kept free space counts too, so the figure errs on the high side.
long long BytesHeld() {
  return HeapBytesInUse() + MappedDataBytes();
}

}  // namespace

namespace {

void BM_AppendThenClear(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TChart chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  for (auto _ : state) {
    for (int i = 0; i < count; ++i)
      series.AppendPoint(i * 0.05, i % 100);
    series.ClearPoints();
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["ns_per_point"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * count,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendThenClear)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Points as the oscilloscope stores them: no label, the series' own colour. Then the same with
// a colour of each point's own.
void BytesPerPoint(benchmark::State& state, bool ownColour) {
  const int count = static_cast<int>(state.range(0));
  double bytesPerPoint = 0;
  for (auto _ : state) {
    TChartSeries series;
    const long long before = BytesHeld();
    for (int i = 0; i < count; ++i) {
      series.AppendPoint(i * 0.05, i % 100, {}, ownColour ? TColor(i & 0xFFFFFF) : clDefault);
    }
    bytesPerPoint = static_cast<double>(BytesHeld() - before) / count;
    series.ClearPoints();
  }
  state.counters["bytes_per_point"] = bytesPerPoint;
}

void BM_BytesPerPoint(benchmark::State& state) {
  BytesPerPoint(state, false);
}
BENCHMARK(BM_BytesPerPoint)
    ->Arg(1000000)
    ->Arg(1048576)
    ->Arg(1200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_BytesPerColouredPoint(benchmark::State& state) {
  BytesPerPoint(state, true);
}
BENCHMARK(BM_BytesPerColouredPoint)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  return RunWithRatios(argc, argv,
                       {{"BM_AppendThenClear/1000000", "BM_AppendThenClear/10000"},
                        {"BM_AppendThenClear/100000", "BM_AppendThenClear/10000"}});
}
