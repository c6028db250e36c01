// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/measure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "sim/number_text.h"
#include "sim/reading_format.h"

namespace {

// A span this small next to the trace's size is rounding noise: the trace is flat and has no
// mid level to cut at.
constexpr double kFlatTolerance = 1e-9;

// State levels are histogram modes. 200 bins over [min, max]: half a percent of the span, finer
// than anything a trace drawn a few hundred pixels high tells apart, and much finer than the
// smallest step between a spike's samples and the level it decays to (1,25 V in 31 V on the
// bench), so a spike's tail never merges with a level.
constexpr int kHistogramBins = 200;
// A level is where the trace rests: its bin holds at least two samples per period. A spike's
// sample, or a lone sample at each switching, is one per period and is no level.
constexpr int kSettledPerPeriod = 2;
// Samples farther than this share of [min, max] from a level are not at that level.
constexpr double kApartShare = 0.05;
// A pulse wave spends most of its time at its two levels: at least this share of the samples
// lie within kBandShare of (top - base) of one of them. Spikes take at most a tenth of a period
// of the bench's waves; a uniform noise has at most 4 * kBandShare of its samples there.
constexpr double kAtLevelShare = 0.8;
constexpr double kBandShare = 0.05;
// The state changes only once the trace passes the mid level by this share of (top - base), so
// that noise around the mid level makes no edge.
constexpr double kHysteresisShare = 0.03;
// Levels whose distances from 0 V differ by less than this share of (top - base) are as far.
constexpr double kSameDistanceShare = 0.05;

struct Window {
  int first = 0;
  int count = 0;
  int periods = 0;
  int shownFirst = 0;  // the samples on screen, from which edges are timed
  int shownCount = 0;
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
  if (periods > 0) return {first, periods * perPeriod, periods, first, shown};
  if (count < perPeriod) return {0, count, 0, first, shown};
  return {std::min(first, count - perPeriod), perPeriod, 1, first, shown};
}

// The two states of the trace. A state seen only in spikes is not settled: its level is the
// spike sample nearest the other state, which bounds where the state lies.
struct StateLevels {
  double top = 0, base = 0;
  bool topSettled = false, baseSettled = false;
};

// The modes of the histogram of the measured samples. Not the modes of the lower and upper
// halves of [min, max]: the bench's spikes stretch that range so far (-20 V under a 0 .. 11,2 V
// wave) that both real states fall in one half. Instead the fullest settled bin is one state and
// the fullest settled bin apart from it the other. When no other bin is settled, the other state
// shows only in spikes: it lies on the side of the first state where the trace reaches farthest
// (a level's own overshoots stay nearer to it than the other state's samples do).
std::optional<StateLevels> FindLevels(const double* begin, const double* end, double low,
                                      double high, int periods) {
  const double span = high - low;
  if (!(span > kFlatTolerance * std::max({1.0, std::fabs(low), std::fabs(high)}))) return {};
  const double width = span / kHistogramBins;
  const auto binOf = [&](double v) {
    return std::clamp(static_cast<int>((v - low) / width), 0, kHistogramBins - 1);
  };
  std::array<int, kHistogramBins> counts{};
  std::array<double, kHistogramBins> sums{};
  for (const double* v = begin; v != end; ++v) {
    if (!std::isfinite(*v)) continue;
    const int bin = binOf(*v);
    ++counts[static_cast<std::size_t>(bin)];
    sums[static_cast<std::size_t>(bin)] += *v;
  }
  const int settled = kSettledPerPeriod * std::max(1, periods);
  const auto level = [&](std::size_t bin) { return sums[bin] / counts[bin]; };

  std::size_t first = 0;
  for (std::size_t bin = 1; bin < counts.size(); ++bin)
    if (counts[bin] > counts[first]) first = bin;
  if (counts[first] < settled) return {};
  const double one = level(first);
  const double apart = kApartShare * span;

  std::optional<std::size_t> second;
  for (std::size_t bin = 0; bin < counts.size(); ++bin) {
    if (counts[bin] < settled || std::fabs(level(bin) - one) <= apart) continue;
    if (!second || counts[bin] > counts[*second]) second = bin;
  }
  if (second) {
    const double other = level(*second);
    return StateLevels{std::max(one, other), std::min(one, other), true, true};
  }

  // The other state in spikes only: its side, and its sample nearest the settled state.
  int above = 0, below = 0;
  double nearestAbove = high, nearestBelow = low;
  for (const double* v = begin; v != end; ++v) {
    if (!std::isfinite(*v) || std::fabs(*v - one) <= apart) continue;
    if (*v > one) {
      ++above;
      nearestAbove = std::min(nearestAbove, *v);
    } else {
      ++below;
      nearestBelow = std::max(nearestBelow, *v);
    }
  }
  const bool up = high - one > one - low;
  if ((up ? above : below) < std::max(1, periods)) return {};
  if (up) return StateLevels{nearestAbove, one, false, true};
  return StateLevels{one, nearestBelow, true, false};
}

// A pulse wave rests at its two levels: the share of samples near one of them.
bool MostlyAtLevels(const double* begin, const double* end, const StateLevels& levels, int used) {
  const double band = kBandShare * (levels.top - levels.base);
  int near = 0;
  for (const double* v = begin; v != end; ++v) {
    if (std::isfinite(*v) &&
        (std::fabs(*v - levels.top) <= band || std::fabs(*v - levels.base) <= band))
      ++near;
  }
  return near >= kAtLevelShare * used;
}

// Whether the duty cycle counts the time at the top level. A level seen only in spikes is taken
// no farther from 0 V than the settled one: its spikes overshoot, its level is nearer.
bool TopIsActive(const StateLevels& levels) {
  double top = std::fabs(levels.top), base = std::fabs(levels.base);
  if (!levels.topSettled) top = std::min(top, base);
  if (!levels.baseSettled) base = std::min(base, top);
  if (std::fabs(top - base) <= kSameDistanceShare * (levels.top - levels.base)) return true;
  return top > base;
}

struct Edge {
  double t;
  bool rising;
};

// The crossings of the mid level, with hysteresis, timed by linear interpolation between the
// two samples that straddle it. Samples are clamped to [base, top] first: a spike beyond a level
// is that level, and its height does not move the edge. Holes (NaN) are stepped over.
std::vector<Edge> FindEdges(const double* times, const double* values, int count,
                            const StateLevels& levels) {
  const double mid = levels.base / 2 + levels.top / 2;
  const double hysteresis = kHysteresisShare * (levels.top - levels.base);
  std::vector<Edge> edges;
  int state = 0;  // +1 above the mid level, -1 below, 0 not known yet
  bool previous = false;
  double tp = 0, vp = 0;
  double lastUp = 0, lastDown = 0;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i]) || !std::isfinite(times[i])) continue;
    const double t = times[i];
    const double v = std::clamp(values[i], levels.base, levels.top);
    if (previous && (vp <= mid) != (v <= mid)) {
      const double crossing = tp + (mid - vp) / (v - vp) * (t - tp);
      (v > mid ? lastUp : lastDown) = crossing;
    }
    if (v > mid + hysteresis) {
      if (state < 0) edges.push_back({lastUp, true});
      state = 1;
    } else if (v < mid - hysteresis) {
      if (state > 0) edges.push_back({lastDown, false});
      state = -1;
    }
    previous = true;
    tp = t;
    vp = v;
  }
  return edges;
}

// Period and duty cycle from the edges: over the edges of the direction there are more of (into
// the active level when as many), from the first to the last of them.
void MeasurePulses(const std::vector<Edge>& edges, bool topActive, TTraceMeasures& result) {
  const auto rising = std::count_if(edges.begin(), edges.end(), [](Edge e) { return e.rising; });
  const auto falling = static_cast<std::ptrdiff_t>(edges.size()) - rising;
  const bool direction = rising != falling ? rising > falling : topActive;
  const auto n = direction ? rising : falling;
  if (n < 2) return;

  std::size_t first = 0, last = edges.size() - 1;
  while (edges[first].rising != direction)
    ++first;
  while (edges[last].rising != direction)
    --last;
  const double span = edges[last].t - edges[first].t;
  if (!(span > 0)) return;
  double atTop = 0;
  for (std::size_t k = first; k < last; ++k)
    if (edges[k].rising) atTop += edges[k + 1].t - edges[k].t;

  const double period = span / static_cast<double>(n - 1);
  result.periodMs = period;
  const double frequency = 1000 / period;
  if (std::isfinite(frequency)) result.frequencyHz = frequency;
  const double alpha = std::clamp(atTop / span, 0.0, 1.0);
  result.dutyCycle = topActive ? alpha : 1 - alpha;
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
  double sum = 0;
  double sumOfSquares = 0;
  for (const double* v = begin; v != end; ++v) {
    if (!std::isfinite(*v) || !(scale > 0)) continue;
    const double x = *v / scale;
    sum += x;
    sumOfSquares += x * x;
  }

  const double n = result.samplesUsed;
  result.mean = scale * (sum / n);
  result.rms = scale * std::sqrt(sumOfSquares / n);
  result.min = low;
  result.max = high;
  result.peakToPeak = high - low;

  const std::optional<StateLevels> levels = FindLevels(begin, end, low, high, window.periods);
  if (!levels || !MostlyAtLevels(begin, end, *levels, result.samplesUsed)) return result;
  if (levels->topSettled) result.top = levels->top;
  if (levels->baseSettled) result.base = levels->base;

  const bool topActive = TopIsActive(*levels);
  MeasurePulses(
      FindEdges(times + window.shownFirst, values + window.shownFirst, window.shownCount, *levels),
      topActive, result);
  if (result.dutyCycle) {
    result.activeLevel = (topActive ? levels->top : levels->base) < 0 ? TActiveLevel::kNegative
                                                                      : TActiveLevel::kPositive;
  }
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

std::optional<double> ValueAtTime(const double* times, const double* values, int count,
                                  double time) {
  if (times == nullptr || values == nullptr || count <= 0 || !std::isfinite(time)) return {};
  const double* after = std::lower_bound(times, times + count, time);
  if (after == times + count) return {};
  const auto k = after - times;
  std::optional<double> value;
  if (*after == time) {
    value = values[k];
  } else if (k > 0) {
    const double t0 = times[k - 1], t1 = times[k];
    value = values[k - 1] + (values[k] - values[k - 1]) * ((time - t0) / (t1 - t0));
  }
  if (value && !std::isfinite(*value)) value.reset();
  return value;
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

namespace {

// v rounded to `digits` significant digits.
double RoundSignificant(double v, int digits) {
  const double scale = std::pow(10.0, SignificantDecimals(v, digits));
  const double rounded = std::round(v * scale) / scale;
  return std::isfinite(rounded) ? rounded : v;
}

// The significant digits of a read-out: its digits from the first that is not zero.
int SignificantDigits(const std::string& text) {
  int digits = 0;
  for (const char c : text) {
    if (c == 'E') break;
    if (c >= '1' && c <= '9') ++digits;
    if (c == '0' && digits > 0) ++digits;
  }
  return digits;
}

}  // namespace

std::string FormatInverseTime(double dtMs, const std::string& decimalSeparator) {
  if (!std::isfinite(dtMs)) return kUndefinedMeasure;
  const int digits = SignificantDigits(FormatReading(std::fabs(dtMs), 2, "."));
  if (digits == 0) return kUndefinedMeasure;
  const double hertz = 1000 / std::fabs(dtMs);
  if (!std::isfinite(hertz)) return kUndefinedMeasure;
  // The unit is chosen on the rounded value: 999,6 Hz at three digits is "1,00 kHz".
  const bool kilo = RoundSignificant(hertz, digits) >= 1000;
  const double value = RoundSignificant(kilo ? hertz / 1000 : hertz, digits);
  const int decimals = std::max(0, SignificantDecimals(value, digits));
  return FixedText(value, decimals, decimalSeparator) + (kilo ? "\u00A0kHz" : "\u00A0Hz");
}
