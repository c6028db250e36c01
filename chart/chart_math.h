#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// a × b / c in 64 bits, rounded to nearest with halves away from zero; -1 when c is 0, as the
// platform's own MulDiv answers.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // |remainder| * 2 >= |c| means the fraction is a half or more: round away from zero.
  if (remainder != 0 &&
      2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -std::int64_t{c} : c)) {
    quotient += (product < 0) != (c < 0) ? -1 : 1;
  }
  return static_cast<int>(quotient);
}

// Round to nearest, ties to even, into an int. Values that do not fit (and NaN) give
// `fallback`: the callers map those to a safe pixel instead of converting garbage.
inline int RoundToInt(double value, int fallback = 0) {
  if (!(std::fabs(value) < 2147483647.0)) return fallback;
  return static_cast<int>(std::nearbyint(value));
}

// Truncation toward zero into a 64-bit integer, guarded the same way.
inline std::int64_t TruncToInt64(double value) {
  if (!(std::fabs(value) < 9.2e18)) return 0;
  return static_cast<std::int64_t>(value);
}
