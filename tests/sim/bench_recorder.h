// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sim/bench.h"
#include "tests/support/bench_scene.h"

// Stands in for the window: records every reading and every trace point the bench writes.
class ReadingRecorder : public TBenchOutput {
 public:
  void ShowReading(TInstrument instrument, const std::string& text) override {
    history.emplace_back(instrument, text);
    last[instrument] = text;
  }
  std::string Last(TInstrument instrument) const {
    auto it = last.find(instrument);
    return it == last.end() ? "<never written>" : it->second;
  }

  std::vector<std::pair<TInstrument, std::string>> history;
  std::map<TInstrument, std::string> last;
};

class TraceRecorder : public TBenchTrace {
 public:
  void ClearPoints() override {
    ++clears;
    points.clear();
  }
  void AppendPoints(const double* x, const double* y, int count) override {
    for (int i = 0; i < count; ++i)
      points.emplace_back(x[i], y[i]);
  }

  int clears = 0;
  std::vector<std::pair<double, double>> points;
};

// A random source that replays a fixed cycle of draws and counts its reseeds.
class ScriptedRandom : public TRandomSource {
 public:
  explicit ScriptedRandom(std::vector<int> draws) : draws_(std::move(draws)) {}
  void Randomize() override { ++reseeds; }
  int Random(int range) override {
    lastRange = range;
    return draws_[next_++ % draws_.size()];
  }

  int reseeds = 0;
  int lastRange = 0;

 private:
  std::vector<int> draws_;
  std::size_t next_ = 0;
};

// A bench wired to recorders, in the state a menu entry leaves it.
struct RecordedBench {
  RecordedBench() : bench(&readings, &series1, &series4) {}

  ReadingRecorder readings;
  TraceRecorder series1;  // the red wave
  TraceRecorder series4;  // the blue zero line
  TBench bench;
  const TBenchSteps steps{bench};
};
