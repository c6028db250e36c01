// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis/axis_map.h"

TAxisMap::TAxisMap(double rangeMin, double rangeMax, int pixelStart, int pixelEnd, bool horizontal,
                   bool inverted, bool logarithmic)
    : min_(rangeMin),
      max_(rangeMax),
      span_(rangeMax - rangeMin),
      start_(pixelStart),
      end_(pixelEnd),
      // Halved in 64 bits, truncating toward zero: the sum of two ints may not fit in one.
      center_(static_cast<int>((std::int64_t{pixelStart} + pixelEnd) / 2)),
      length_(static_cast<double>(pixelEnd) - pixelStart),
      logMin_(rangeMin > 0 ? std::log(rangeMin) : 0),
      logMax_(rangeMax > 0 ? std::log(rangeMax) : 0),
      horizontal_(horizontal),
      inverted_(inverted),
      logarithmic_(logarithmic),
      forward_(horizontal != inverted) {}

// Logarithmic axes invert by counting from the other end of the logarithms rather than by
// turning the pixels round, so an inverted horizontal axis still starts at PixelStart.
int TAxisMap::LogValueToPixel(double value) const {
  if (logMax_ == logMin_) return center_;
  if (!(value > 0)) return horizontal_ == inverted_ ? end_ : start_;
  const double lv = std::log(value);
  const double t = (inverted_ ? logMax_ - lv : lv - logMin_) * length_ / (logMax_ - logMin_);
  if (!(std::fabs(t) < 2147483647.0)) return center_;
  const auto offset = static_cast<std::int64_t>(RoundHalfEven(t));
  return ClampToPixel(horizontal_ ? start_ + offset : end_ - offset);
}

double TAxisMap::PixelToValue(int pixel) const {
  if (logarithmic_) {
    if (logMax_ == logMin_ || length_ < 1) return min_;
    if (pixel == start_) return forward_ ? min_ : max_;
    if (pixel == end_) return forward_ ? max_ : min_;
    const double distance =
        inverted_ ? static_cast<double>(end_) - pixel : static_cast<double>(pixel) - start_;
    const double d = (logMax_ - logMin_) * distance / length_;
    return horizontal_ ? std::exp(logMin_ + d) : std::exp(logMax_ - d);
  }
  if (length_ < 1) return 0;
  const double d =
      inverted_ ? static_cast<double>(end_) - pixel : static_cast<double>(pixel) - start_;
  const double a = d * span_ / length_;
  return horizontal_ ? min_ + a : max_ - a;
}
