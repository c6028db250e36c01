#include "sim/measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "sim/reading_format.h"

namespace {

// A span this small next to the trace's size is rounding noise: the trace is flat and has no
// mid level to cut at.
constexpr double kFlatTolerance = 1e-9;

struct Window {
  int first = 0;
  int count = 0;
  int periods = 0;
};

// The trace's sample spacing in ms; 0 when it has none worth the name.
double SampleSpacing(const double* times, int count) {
  if (count < 2) return 0;
  const double spacing = (times[count - 1] - times[0]) / (count - 1);
  return std::isfinite(spacing) && spacing > 0 ? spacing : 0;
}

// The samples to measure. Plain scans rather than a binary search: a handful of hundred points,
// and a trace whose times are out of order still yields a window inside it.
Window ChooseWindow(const double* times, int count, double tMin, double tMax, int perPeriod,
                    double spacing) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (std::isnan(tMin)) tMin = -kInfinity;
  if (std::isnan(tMax)) tMax = kInfinity;
  if (tMin > tMax) std::swap(tMin, tMax);
  // Summed sample times stray from the axis bounds by rounding (24.950000000000003 against
  // 24.95): a sample on the edge of the screen is shown, so it is measured.
  const double slack = spacing * 1e-6;
  tMin -= slack;
  tMax += slack;

  int first = 0;
  while (first < count && !(times[first] >= tMin))
    ++first;
  int shown = 0;
  while (first + shown < count && times[first + shown] <= tMax)
    ++shown;

  const int periods = shown / perPeriod;
  if (periods > 0) return {first, periods * perPeriod, periods};
  if (count < perPeriod) return {0, count, 0};
  return {std::min(first, count - perPeriod), perPeriod, 1};
}

// The chopper period from the trace's sample spacing; none when there is no usable spacing.
void MeasurePeriod(double spacing, int perPeriod, TTraceMeasures& result) {
  const double period = spacing * perPeriod;
  if (!std::isfinite(period) || period <= 0) return;
  result.periodMs = period;
  const double frequency = 1000 / period;
  if (std::isfinite(frequency)) result.frequencyHz = frequency;
}

}  // namespace

TTraceMeasures MeasureTrace(const double* times, const double* values, int count, double tMin,
                            double tMax, int samplesPerPeriod) {
  TTraceMeasures result;
  if (times == nullptr || values == nullptr || count <= 0 || samplesPerPeriod <= 0) return result;

  const double spacing = SampleSpacing(times, count);
  const Window window = ChooseWindow(times, count, tMin, tMax, samplesPerPeriod, spacing);
  const double* begin = values + window.first;
  const double* end = begin + window.count;
  result.periodsUsed = window.periods;

  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const double* v = begin; v != end; ++v) {
    if (!std::isfinite(*v)) {
      ++result.skippedSamples;
      continue;
    }
    ++result.samplesUsed;
    low = std::min(low, *v);
    high = std::max(high, *v);
  }
  if (result.Empty()) return result;

  // Sums taken on values scaled by the largest magnitude, so that squares of huge values do not
  // overflow; at bench voltages this costs nothing.
  const double scale = std::max(std::fabs(low), std::fabs(high));
  const double mid = low / 2 + high / 2;
  double sum = 0;
  double sumOfSquares = 0;
  int above = 0;
  for (const double* v = begin; v != end; ++v) {
    if (!std::isfinite(*v)) continue;
    if (scale > 0) {
      const double x = *v / scale;
      sum += x;
      sumOfSquares += x * x;
    }
    if (*v > mid) ++above;
  }

  const double n = result.samplesUsed;
  result.mean = scale * (sum / n);
  result.rms = scale * std::sqrt(sumOfSquares / n);
  result.min = low;
  result.max = high;
  result.peakToPeak = high - low;
  if (high - low > kFlatTolerance * std::max(1.0, scale)) result.dutyCycle = above / n;
  MeasurePeriod(spacing, samplesPerPeriod, result);
  return result;
}

TCursorDelta CursorDifference(double tA, double uA, double tB, double uB) {
  TCursorDelta delta;
  delta.dtMs = tB - tA;
  delta.dU = uB - uA;
  if (std::isfinite(delta.dtMs) && delta.dtMs != 0) {
    const double frequency = 1000 / std::fabs(delta.dtMs);
    if (std::isfinite(frequency)) delta.inverseHz = frequency;
  }
  return delta;
}

std::string FormatQuantity(double value, const char* unit, int decimals,
                           const std::string& decimalSeparator) {
  if (!std::isfinite(value)) return kUndefinedMeasure;
  std::string text = FormatReading(value, decimals, decimalSeparator);
  if (unit != nullptr && *unit != '\0') {
    text += "\u00A0";
    text += unit;
  }
  return text;
}

std::string FormatQuantity(const std::optional<double>& value, const char* unit, int decimals,
                           const std::string& decimalSeparator) {
  return value ? FormatQuantity(*value, unit, decimals, decimalSeparator) : kUndefinedMeasure;
}
