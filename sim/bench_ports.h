// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the bench writes to: the instrument boxes and the two oscilloscope traces. The window
// implements these; tests record them.

enum TInstrument { inVoltmeter, inTachometer, inAmmeter1, inAmmeter2 };

class TBenchOutput {
 public:
  virtual ~TBenchOutput() = default;
  virtual void ShowReading(TInstrument instrument, const std::string& text) = 0;
};

class TBenchTrace {
 public:
  virtual ~TBenchTrace() = default;
  virtual void ClearPoints() = 0;
  // Points with no label, drawn in the series' own colour, appended one by one in order.
  virtual void AppendPoints(const double* x, const double* y, int count) = 0;
};

// Feeds a chart series (anything with ClearPoints and AppendPoint(x, y)) from the bench, so the
// model needs no chart headers. A trace is handed over in runs of points, which spares a call
// per point on the path every scroll notification takes.
template <class TSeries>
class TSeriesTrace final : public TBenchTrace {
 public:
  explicit TSeriesTrace(TSeries& series) : series_(series) {}
  void ClearPoints() override { series_.ClearPoints(); }
  void AppendPoints(const double* x, const double* y, int count) override {
    for (int i = 0; i < count; ++i)
      series_.AppendPoint(x[i], y[i]);
  }

 private:
  TSeries& series_;
};
