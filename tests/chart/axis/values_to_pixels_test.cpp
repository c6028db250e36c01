// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping whole arrays of values gives, bit for bit, the pixel ValueToPixel gives each value:
// on random maps (tiny, huge, reversed and empty ranges, far pixels, inverted, logarithmic)
// and values (ties, NaN, infinities, values at the int range's edge); and the rounding under
// every pixel equals the library's.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "chart/axis/axis_map.h"
#include "chart/chart_math.h"

namespace {

TAxisMap RandomMap(std::mt19937& random) {
  std::uniform_real_distribution<double> unit(-1, 1);
  const double scale = std::pow(10.0, static_cast<int>(random() % 601) - 300);
  double min = unit(random) * scale * (random() % 4 == 0 ? 1e3 : 1);
  double max = min + unit(random) * scale;  // now and then below the minimum
  if (random() % 8 == 0) max = min;
  if (random() % 8 == 0) max = std::nextafter(min, max + 1);
  int start = static_cast<int>(random() % 2000);
  int end = start + static_cast<int>(random() % 2000) - 100;
  if (random() % 6 == 0) {
    start += static_cast<int>(random() % 2 ? 1 << 30 : -(1 << 30));
    end = static_cast<int>(random() % 2 ? 2147483000 : -2147483000);
  }
  return {min, max, start, end, random() % 2 == 0, random() % 3 == 0, random() % 6 == 0};
}

// Values around the range, and the ones rounding and range checks turn on.
double RandomValue(std::mt19937& random, const TAxisMap& map) {
  std::uniform_real_distribution<double> unit(-1, 1);
  const double min = map.RangeMin(), span = map.RangeSpan();
  const double perPixel = span / (static_cast<double>(map.PixelEnd()) - map.PixelStart());
  const double inf = std::numeric_limits<double>::infinity();
  switch (random() % 10) {
    case 0: {
      const double special[] = {std::nan(""), inf, -inf, 0.0, -0.0, 4.9e-324, 1e308, -1e308};
      return special[random() % 8];
    }
    case 1: {  // a whole number of pixels and a half (a tie), and a few ulps either side
      double v = min + (static_cast<int>(random() % 4000) - 2000 + 0.5) * perPixel;
      for (int n = static_cast<int>(random() % 7) - 3; n != 0; n += n > 0 ? -1 : 1)
        v = std::nextafter(v, n > 0 ? inf : -inf);
      return v;
    }
    case 2:  // about an int's range away
      return min + (2147483647.0 + unit(random) * 4) * perPixel;
    case 3:
      return min + unit(random) * span * 1e9;
    default:
      return min + unit(random) * span * 1.5;
  }
}

TEST(ValuesToPixels, EqualsValueToPixelForEachValue) {
  std::mt19937 random(23);
  const double multipliers[] = {1, -1, 0.5, 3, 1e-3, 7.25e20};
  for (int round = 0; round < 3000; ++round) {
    const TAxisMap map = RandomMap(random);
    // Exact pixel multiples too: ties in the mapping itself.
    const TAxisMap exact{0, 1000, 0, 1000, random() % 2 == 0, random() % 2 == 0, false};
    const TAxisMap& m = round % 5 == 0 ? exact : map;
    const double multiplier = multipliers[random() % 6];
    std::vector<double> values(random() % 40);
    for (double& v : values) {
      v = round % 5 == 0 ? (static_cast<int>(random() % 4000) - 2000) / 2.0
                         : RandomValue(random, m) / multiplier;
    }
    std::vector<int> pixels(values.size());
    m.ValuesToPixels(values.data(), multiplier, pixels.data(), static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
      ASSERT_EQ(pixels[i], m.ValueToPixel(values[i] * multiplier))
          << "round " << round << ", value " << values[i] << " × " << multiplier << " on "
          << m.RangeMin() << " .. " << m.RangeMax() << " at " << m.PixelStart() << " .. "
          << m.PixelEnd();
    }
  }
}

// The rounding every pixel goes through: where it adds and takes off 1.5 × 2^52, it answers
// what std::nearbyint answers (the portable build calls that), over the whole range it is
// used on, ties and the doubles either side of them included.
TEST(RoundHalfEven, EqualsNearbyintBelowTwoToThe51) {
  std::mt19937 random(31);
  for (int round = 0; round < 100000; ++round) {
    const double scale = std::ldexp(1.0, static_cast<int>(random() % 52));
    double v = std::uniform_real_distribution<double>(-1, 1)(random) * scale;
    if (round % 4 == 0) v = std::trunc(v) + 0.5;  // a tie
    if (round % 8 == 1) v = std::nextafter(std::trunc(v) + 0.5, random() % 2 ? 0.0 : 1e300);
    if (!(std::fabs(v) < 0x1p51)) continue;
    ASSERT_EQ(RoundHalfEven(v), std::nearbyint(v)) << v;
  }
  for (double v : {0.0, -0.0, 0.5, -0.5, 1.5, 2.5, -2.5, 0x1p51 - 0.5, -0x1p51 + 0.5})
    EXPECT_EQ(RoundHalfEven(v), std::nearbyint(v)) << v;
}

}  // namespace
