// SPDX-License-Identifier: GPL-3.0-or-later
// A full paint of the 1520 × 760 oscilloscope screen carrying one dense trace of 1e3 to 1e6
// points (a random walk, a sine), against the gradient-and-copy baseline; and the bytes each
// point holds once the trace has been painted.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QImage>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "chart/chart.h"
#include "ratio_reporter.h"
#include "screen_paint.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;
constexpr double kSpanMs = 25;  // the time axis of the screen

enum class Shape { kRandomWalk, kSine };

// `count` points across the time axis: a walk of ±0.5 V steps kept within ±20 V, or five
// periods of a 20 V sine.
void Fill(TFastLineSeries& series, Shape shape, int count) {
  std::mt19937 random(7);
  std::normal_distribution<double> step(0, 0.5);
  double y = 0;
  for (int i = 0; i < count; ++i) {
    const double x = kSpanMs * i / count;
    if (shape == Shape::kSine) {
      y = 20 * std::sin(2 * M_PI * 5 * x / kSpanMs);
    } else {
      y += step(random);
      if (std::fabs(y) > 20) y = std::copysign(40, y) - y;
    }
    series.AppendPoint(x, y);
  }
}

void BM_GradientAndCopyBaseline(benchmark::State& state) {
  GradientAndCopy(state);
}
BENCHMARK(BM_GradientAndCopyBaseline)->Unit(benchmark::kMicrosecond);

void PaintDense(benchmark::State& state, Shape shape) {
  OscilloscopeChart scope(kWidth, kHeight);
  Fill(scope.Series1(), shape, static_cast<int>(state.range(0)));
  PaintRepeatedly(state, scope.chart);
}

void BM_DenseRandomWalk(benchmark::State& state) {
  PaintDense(state, Shape::kRandomWalk);
}
BENCHMARK(BM_DenseRandomWalk)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMicrosecond);

void BM_DenseSine(benchmark::State& state) {
  PaintDense(state, Shape::kSine);
}
BENCHMARK(BM_DenseSine)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);

// A field of /proc/self/status, in bytes.
long long StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field))) * 1024;
  }
  return 0;
}

// What the allocator has handed out and not taken back, plus the process's other data
// mappings (where the large point lists' pages are, touched or not); each byte once.
long long BytesHeld() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks) + StatusBytes("VmData:") -
         static_cast<long long>(info.arena);
}

// The pages touched, once the allocator has given back what it holds free.
long long ResidentBytes() {
  malloc_trim(0);
  return StatusBytes("VmRSS:");
}

// Counted from a screen already painted once, so its image and laid-out labels are not the
// trace's. Stored: after appending; painted: after two paints more; resident: the pages
// touched by then.
void BM_DenseBytesPerPoint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  double stored = 0, painted = 0, resident = 0;
  for (auto _ : state) {
    OscilloscopeChart scope(kWidth, kHeight);
    scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
    const long long before = BytesHeld();
    const long long residentBefore = ResidentBytes();
    Fill(scope.Series1(), Shape::kRandomWalk, count);
    stored = static_cast<double>(BytesHeld() - before) / count;
    for (int k = 0; k < 2; ++k) {
      scope.chart.InvalidateChart();
      scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
    }
    painted = static_cast<double>(BytesHeld() - before) / count;
    resident = static_cast<double>(ResidentBytes() - residentBefore) / count;
  }
  state.counters["bytes_stored_per_point"] = stored;
  state.counters["bytes_per_point"] = painted;
  state.counters["resident_bytes_per_point"] = resident;
}
BENCHMARK(BM_DenseBytesPerPoint)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ChartApplication app(argc, argv);
  std::vector<std::pair<std::string, std::string>> ratios;
  for (const char* shape : {"BM_DenseRandomWalk/", "BM_DenseSine/"}) {
    for (const char* count : {"1000", "10000", "100000", "1000000"})
      ratios.emplace_back(std::string(shape) + count, "BM_GradientAndCopyBaseline");
  }
  return RunWithRatios(argc, argv, std::move(ratios));
}
