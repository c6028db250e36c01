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
  // A point with no label, drawn in the series' own colour.
  virtual void AppendPoint(double x, double y) = 0;
};

// Feeds a chart series (anything with ClearPoints and AppendPoint(x, y)) from the bench, so the
// model needs no chart headers.
template <class TSeries>
class TSeriesTrace final : public TBenchTrace {
 public:
  explicit TSeriesTrace(TSeries& series) : series_(series) {}
  void ClearPoints() override { series_.ClearPoints(); }
  void AppendPoint(double x, double y) override { series_.AppendPoint(x, y); }

 private:
  TSeries& series_;
};
