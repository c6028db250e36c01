// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "chart/chart_math.h"

// The mapping between values and pixels along an axis, as one layout left it: a small value
// that series copy once per paint. Linear axes put RangeMin at PixelStart (at PixelEnd for
// vertical axes, so larger values lie higher; inverted axes the other way round); logarithmic
// axes map the natural logarithms of the values likewise. Values that map to no pixel (NaN,
// infinite, or more than an int's range away) give PixelCenter; pixels beyond the int range
// stop at its ends.
class TAxisMap {
 public:
  TAxisMap() = default;
  TAxisMap(double rangeMin, double rangeMax, int pixelStart, int pixelEnd, bool horizontal,
           bool inverted, bool logarithmic);

  double RangeMin() const { return min_; }
  double RangeMax() const { return max_; }
  double RangeSpan() const { return span_; }
  int PixelStart() const { return start_; }
  int PixelEnd() const { return end_; }
  int PixelLength() const { return end_ - start_; }
  int PixelCenter() const { return center_; }
  bool Horizontal() const { return horizontal_; }
  bool Inverted() const { return inverted_; }
  bool Logarithmic() const { return logarithmic_; }

  // The same map over other pixels.
  TAxisMap WithPixels(int pixelStart, int pixelEnd) const {
    return {min_, max_, pixelStart, pixelEnd, horizontal_, inverted_, logarithmic_};
  }

  int ValueToPixel(double value) const {
    if (logarithmic_) return LogValueToPixel(value);
    if (span_ == 0) return center_;
    const double t = (value - min_) * length_ / span_;
    if (!(std::fabs(t) < 2147483647.0)) return center_;
    return Place(t);
  }
  // True on a linear axis with a span for a value that ValueToPixel places itself rather than
  // sending to PixelCenter: between two such values the pixels never turn back.
  bool LinearlyPlaces(double value) const {
    return !logarithmic_ && span_ != 0 &&
           std::fabs((value - min_) * length_ / span_) < 2147483647.0;
  }
  double PixelToValue(int pixel) const;
  // ValueToPixel of values[i] × multiplier into pixels[i], for i < count: the same pixels,
  // for whole arrays of points at once.
  void ValuesToPixels(const double* values, double multiplier, int* pixels, int count) const;

  // What a line through the pixels of a stretch of values needs to know of them, with one
  // pixel, `mark`, watched (for a run down one column: the row it ends on).
  struct PixelRun {
    int lowest = std::numeric_limits<int>::max();
    int highest = std::numeric_limits<int>::min();
    int changes = 0;  // pixels that differ from the one before them
    int leaves = 0;   // of those, the ones after a pixel equal to mark
  };
  // The run of ValueToPixel of values[i] × multiplier for i < count, after a pixel `before`:
  // what mapping each value would tell, without storing the pixels.
  PixelRun RunOfPixels(const double* values, double multiplier, int count, int before,
                       int mark) const;

 private:
  int LogValueToPixel(double value) const;
  // The pixel `t` pixels from the start end (rounded half to even), in 64 bits then clamped.
  int Place(double t) const {
    const auto offset = static_cast<std::int64_t>(RoundHalfEven(t));
    return ClampToPixel(forward_ ? start_ + offset : end_ - offset);
  }

  double min_ = 0, max_ = 0, span_ = 0;
  int start_ = 0, end_ = 0, center_ = 0;
  double length_ = 0;  // PixelLength, as the mapping multiplies by it
  double logMin_ = 0, logMax_ = 0;
  bool horizontal_ = true, inverted_ = false, logarithmic_ = false;
  bool forward_ = true;  // values grow with pixels
};
