#pragma once

#include <optional>
#include <string>

// What the oscilloscope's "Mesures" window shows for a trace. The figures are worked out over
// whole chopper periods, so that a mean or an RMS value does not change with where the screen
// happens to cut the wave.
struct TTraceMeasures {
  double mean = 0;  // <u>, V
  double rms = 0;   // U, V
  double min = 0;
  double max = 0;
  double peakToPeak = 0;
  // samplesPerPeriod sample spacings; none when the trace gives no spacing (a single sample).
  std::optional<double> periodMs;
  std::optional<double> frequencyHz;
  // alpha, the share of samples above the mid level (0 .. 1); none on a flat trace.
  std::optional<double> dutyCycle;
  int samplesUsed = 0;     // finite values the figures come from
  int periodsUsed = 0;     // whole periods measured; 0 when the trace is shorter than one
  int skippedSamples = 0;  // NaN or infinite values inside the measured samples, left out

  // Nothing to measure: no trace, or no finite value where it was measured.
  bool Empty() const { return samplesUsed == 0; }
};

// Measures the trace (times in ms, ascending, evenly spaced; values in V) over the whole periods
// among the samples shown in [tMin, tMax]: from the first sample at or after tMin, as many whole
// periods as the shown samples hold. When less than a period is shown, one period is measured
// from the first shown sample, moved back to stay inside the trace (the whole trace when it is
// shorter than a period). A reversed range is swapped; a NaN bound leaves that side open.
// Non-finite values are left out of every figure and counted in skippedSamples.
TTraceMeasures MeasureTrace(const double* times, const double* values, int count, double tMin,
                            double tMax, int samplesPerPeriod);

// The differences between cursor B and cursor A. The frequency is 1000 / |dt| (a frequency reads
// positive whichever cursor is on the left) and is undefined when the cursors share a time.
struct TCursorDelta {
  double dtMs = 0;
  double dU = 0;
  std::optional<double> inverseHz;
};

TCursorDelta CursorDifference(double tA, double uA, double tB, double uB);

// What the window shows for a value it cannot give.
inline constexpr char kUndefinedMeasure[] = "\u2014";

// "12,35 V": the instrument's fixed-point text (see FormatReading), a no-break space and the
// unit (none when unit is null or empty). A value that is not finite, or not there, shows as
// kUndefinedMeasure.
std::string FormatQuantity(double value, const char* unit, int decimals,
                           const std::string& decimalSeparator);
std::string FormatQuantity(const std::optional<double>& value, const char* unit, int decimals,
                           const std::string& decimalSeparator);
