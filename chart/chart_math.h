// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cfloat>
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

// Round to nearest, ties to even, for |value| < 2^51: what nearbyint gives in the default
// rounding mode. Adding and taking off 1.5 × 2^52 leaves no bits below the unit, which rounds
// the value as the processor's adder does; where arithmetic runs in double precision (not the
// x87's extended one) that is one inlined add and subtract instead of a library call per
// coordinate.
inline double RoundHalfEven(double value) {
#if FLT_EVAL_METHOD == 0 && !defined(__FAST_MATH__) && !defined(SIMHACHEUR_PORTABLE)
  constexpr double kShift = 6755399441055744.0;  // 1.5 × 2^52
  // Compilers keep (v + c) - c as written unless told arithmetic may be reassociated.
  return (value + kShift) - kShift;
#else
  return std::nearbyint(value);
#endif
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

// A pixel worked out in 64 bits, brought back into an int: a value far outside an axis lands
// at the end of the integer range instead of wrapping round to the other side.
inline int ClampToPixel(std::int64_t pixel) {
  return static_cast<int>(std::clamp<std::int64_t>(pixel, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// a × b − c × d for operands of up to 33 bits, whose products may need 66: exact when the
// result lies below 2^61 in magnitude, otherwise ±2^62 with the result's sign. A double
// estimate (off by at most 2^15) tells which; below the bound the wrapped 64-bit result is
// the true one.
inline std::int64_t CrossDifference(std::int64_t a, std::int64_t b, std::int64_t c,
                                    std::int64_t d) {
  const double estimate = static_cast<double>(a) * static_cast<double>(b) -
                          static_cast<double>(c) * static_cast<double>(d);
  constexpr std::int64_t kBig = std::int64_t{1} << 62;
  if (std::fabs(estimate) >= 0x1p61) return estimate < 0 ? -kBig : kBig;
  const std::uint64_t wrapped = static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b) -
                                static_cast<std::uint64_t>(c) * static_cast<std::uint64_t>(d);
  return static_cast<std::int64_t>(wrapped);
}
