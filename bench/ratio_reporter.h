// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Console output plus, at the end, each benchmark's time as a multiple of a baseline measured
// in the same run, so figures can be compared across machines. Benchmarks that count items are
// compared per item.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Each pair is (benchmark, baseline), by full benchmark name.
  explicit RatioReporter(std::vector<std::pair<std::string, std::string>> ratios)
      : ratios_(std::move(ratios)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
      const auto items = run.counters.find("items_per_second");
      if (items != run.counters.end() && items->second.value > 0) seconds = 1 / items->second.value;
      auto [it, inserted] = seconds_.try_emplace(run.benchmark_name(), seconds);
      if (!inserted && seconds < it->second) it->second = seconds;  // best of the repetitions
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatios (best time of each, per item where items are counted, same run):\n");
    for (const auto& [name, baseline] : ratios_) {
      const auto a = seconds_.find(name);
      const auto b = seconds_.find(baseline);
      if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) continue;
      std::printf("  %-48s = %8.2f x %s\n", name.c_str(), a->second / b->second, baseline.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::string>> ratios_;
  std::map<std::string, double> seconds_;
};

// A main() that runs the registered benchmarks and prints the given ratios.
inline int RunWithRatios(int argc, char** argv,
                         std::vector<std::pair<std::string, std::string>> ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(ratios));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

// The chart is a widget: benchmarks that build one need an application, on the offscreen
// platform unless another one is asked for.
class ChartApplication {
 public:
  ChartApplication(int& argc, char** argv)
      : platform_(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                  qputenv("QT_QPA_PLATFORM", "offscreen")),
        app_(argc, argv) {}

 private:
  bool platform_;
  QApplication app_;
};
