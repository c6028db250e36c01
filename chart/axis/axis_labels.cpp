// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis/axis_labels.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chart/chart_math.h"
#include "sim/number_text.h"

namespace {

constexpr double kSmallestStep = 1e-12;
constexpr int kMaxWalkLabels = 10000;

}  // namespace

double NextNiceStep(double x) {
  if (!std::isfinite(x)) return x;
  if (x <= 0) return kSmallestStep;
  // Split x into mantissa × decade, the mantissa in [1, 10). Values a hair below a round
  // number (0.99999999 after repeated scaling) count as that number, so every call moves on.
  double decade = std::pow(10.0, std::floor(std::log10(x)));
  double mantissa = x / decade;
  constexpr double kSlack = 1e-9;
  if (mantissa >= 10 - kSlack) {
    mantissa /= 10;
    decade *= 10;
  } else if (mantissa < 1 - kSlack) {
    mantissa *= 10;
    decade /= 10;
  }
  const double nice = mantissa < 2 - kSlack ? 2 : mantissa < 5 - kSlack ? 5 : 10;
  const double next = nice * decade;
  return next > x ? next : x * 2;
}

int MaxLabelCount(int pixelLength, int largest, int separationPercent) {
  if (largest <= 0) return 1;
  const int room =
      separationPercent > 0 ? largest + RoundToInt(separationPercent * 0.01 * largest) : largest;
  return RoundToInt(static_cast<double>(pixelLength) / room);
}

double ChooseLabelStep(double span, double increment, int separationPercent, int maxLabels) {
  if (maxLabels < 1 || !std::isfinite(span)) return kSmallestStep;
  double step = increment > 0 ? increment : std::fabs(span) >= 1 ? 1 : kSmallestStep;
  if (separationPercent > 0) {
    long long count = static_cast<long long>(maxLabels) + 1;
    // Each turn at least doubles the step, so a finite span ends within a few thousand turns.
    for (int turn = 0; count > maxLabels && turn < 4000; ++turn) {
      const double q = span / step;
      if (std::fabs(q) < 2147483647.0) {
        count = std::llround(std::nearbyint(q));
        if (count > maxLabels) step = NextNiceStep(step);
      } else {
        step = NextNiceStep(step);
      }
      if (!std::isfinite(step)) return kSmallestStep;  // a huge finite span outgrew doubles
    }
  }
  return step < kSmallestStep ? kSmallestStep : step;
}

std::vector<double> LabelValues(double rangeMin, double rangeMax, double step,
                                bool roundFirstLabel) {
  std::vector<double> values;
  const double span = rangeMax - rangeMin;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(span) || rangeMax < rangeMin) {
    return values;
  }
  if (!(std::fabs(span / step) < kMaxWalkLabels)) return values;

  double v = rangeMax;
  if (rangeMin != rangeMax && roundFirstLabel) {
    // Beyond 2^53 every double is a whole number, so trunc is exact where the integer
    // conversion would give up and start the walk far from the range.
    const double q = rangeMax / step;
    v = (std::fabs(q) < 0x1p53 ? static_cast<double>(TruncToInt64(q)) : std::trunc(q)) * step;
  }
  // One step down at most, a few when rounding fights back; a step lost against a huge value
  // would never get below the range, so the range's own end is the first label then.
  for (int turn = 0; v > rangeMax && turn < 4; ++turn)
    v -= step;
  if (v > rangeMax) v = rangeMax;
  // A label a rounding error below the range is still its own. The tolerance grows with the
  // values, so far from zero it is kept within half a step: a range 25 wide at 5e16 would
  // otherwise walk thousands of labels below its end, each drawn on every paint.
  const double lowest = std::max((rangeMin - 1e-12) / 1.000000000001, rangeMin - step / 2);
  // The span check bounds the walk; the count guards against steps lost in rounding.
  for (int guard = 0; v >= lowest && guard <= kMaxWalkLabels + 2; ++guard) {
    values.push_back(v);
    const double next = v - step;
    if (next == v) break;  // the step vanished against a large value
    v = next;
  }
  return values;
}

std::vector<int> MinorTickPositions(const std::vector<int>& labels, int count, int pixelStart,
                                    int pixelEnd) {
  std::vector<int> positions;
  if (labels.empty() || count < 1) return positions;
  const auto keep = [&](int p) {
    if (pixelStart < p && p < pixelEnd) positions.push_back(p);
  };
  if (labels.size() >= 2) {
    // Continue the first spacing beyond both outer labels.
    for (int j = 1; j <= count; ++j) {
      const int d = RoundToInt(static_cast<double>(labels[1] - labels[0]) / (count + 1) * j);
      keep(labels.front() - d);
      keep(labels.back() + d);
    }
  }
  for (std::size_t i = 1; i < labels.size(); ++i) {
    for (int j = 1; j <= count; ++j) {
      keep(labels[i] -
           RoundToInt(static_cast<double>(j) * (labels[i] - labels[i - 1]) / (count + 1)));
    }
  }
  return positions;
}

QString FormatAxisValue(double value, const QString& decimalSeparator,
                        const QString& thousandSeparator) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  return QString::fromStdString(FixedText(value, 3, decimalSeparator.toStdString(), kFixedTrimZeros,
                                          thousandSeparator.toStdString()));
}
