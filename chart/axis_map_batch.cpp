#include <cmath>

#include "chart/axis_map.h"

namespace {

// ValueToPixel on a linear axis with a span, every step in doubles so that whole blocks of
// values go through the vector unit: the rounded offset is below 2^31 and the pixel sum
// below 2^33, both exact; far values are sent to the centre before any conversion to int.
struct LinearPixels {
  double min, length, span;
  double base, sign;  // the pixel of RangeMin, and the direction values grow in
  double center;

  explicit LinearPixels(const TAxisMap& m)
      : min(m.RangeMin()),
        length(static_cast<double>(m.PixelEnd()) - m.PixelStart()),
        span(m.RangeSpan()),
        base(m.Horizontal() != m.Inverted() ? m.PixelStart() : m.PixelEnd()),
        sign(m.Horizontal() != m.Inverted() ? 1.0 : -1.0),
        center(m.PixelCenter()) {}

  int operator()(double value) const {
    const double t = (value - min) * length / span;
    double p = base + sign * RoundHalfEven(t);
    p = p < -2147483648.0 ? -2147483648.0 : p;
    p = p > 2147483647.0 ? 2147483647.0 : p;
    return static_cast<int>(std::fabs(t) < 2147483647.0 ? p : center);
  }
};

}  // namespace

void TAxisMap::ValuesToPixels(const double* values, double multiplier, int* pixels,
                              int count) const {
  if (logarithmic_ || span_ == 0) {
    for (int i = 0; i < count; ++i)
      pixels[i] = ValueToPixel(values[i] * multiplier);
    return;
  }
  const LinearPixels pixel(*this);
  // Fixed-size blocks: a loop whose trip count is a multiple of the vector width is one that
  // the compiler vectorises at -O2.
  constexpr int kBlock = 8;
  int i = 0;
  for (; i + kBlock <= count; i += kBlock) {
    for (int k = 0; k < kBlock; ++k)
      pixels[i + k] = pixel(values[i + k] * multiplier);
  }
  for (; i < count; ++i)
    pixels[i] = pixel(values[i] * multiplier);
}
