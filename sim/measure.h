// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The state level a chopper's duty cycle counts: the one its switches connect the supply at,
// +E or -E whichever the trace's sign.
enum class TActiveLevel {
  kNone,      // no duty cycle
  kPositive,  // "à +E"
  kNegative,  // "à −E"
};

// What the oscilloscope's "Mesures" window shows for a trace. Mean, RMS and extremes are worked
// out over whole chopper periods, so that they do not change with where the screen happens to
// cut the wave. State levels, period and duty cycle come from the signal itself: a trace that is
// not a pulse wave (flat, constant, noisy DC) has none.
struct TTraceMeasures {
  double mean = 0;  // <u>, V
  double rms = 0;   // U, V
  double min = 0;
  double max = 0;
  double peakToPeak = 0;
  // The two state levels of a two-state trace, V: top and base. A state that the trace only
  // crosses in spikes, never settling in it, has no level to show (it still cuts the edges).
  std::optional<double> top;
  std::optional<double> base;
  // Mean distance between successive same-direction edges among the shown samples; none unless
  // the trace is a pulse wave with two such edges on screen.
  std::optional<double> periodMs;
  std::optional<double> frequencyHz;
  // alpha, the share of the period spent at the active level (0 .. 1), between the first and
  // the last same-direction edge shown; none when there is no period.
  std::optional<double> dutyCycle;
  // The active level: the state level farther from 0 V, the positive one when both are as far.
  TActiveLevel activeLevel = TActiveLevel::kNone;
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
// The state levels come from the measured samples, the edges (hence period and duty cycle) from
// the shown samples only: what the student sees on the screen is what is timed.
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

// The trace's value at `time` (ms) on the line drawn through its samples (times ascending): a
// sample's own value at its time, linear between two samples. None before the first sample,
// after the last, or beside a sample that is not finite.
std::optional<double> ValueAtTime(const double* times, const double* values, int count,
                                  double time);

// What the window shows for a value it cannot give.
inline constexpr char kUndefinedMeasure[] = "\u2014";

// "12,35 V": the instrument's fixed-point text (see FormatReading), a no-break space and the
// unit (none when unit is null or empty). A value that is not finite, or not there, shows as
// kUndefinedMeasure.
std::string FormatQuantity(double value, const char* unit, int decimals,
                           const std::string& decimalSeparator);
std::string FormatQuantity(const std::optional<double>& value, const char* unit, int decimals,
                           const std::string& decimalSeparator);

// 1/dt beside the read-out of dt (in ms at two decimals): with as many significant digits as that
// read-out shows, in Hz below 1000 Hz and in kHz from there ("0,50 ms" gives "2,0 kHz", "12,35 ms"
// "80,97 Hz"), so that no digit claims more than the cursors' placing gives. kUndefinedMeasure
// when dt reads as zero or is not finite.
std::string FormatInverseTime(double dtMs, const std::string& decimalSeparator);
