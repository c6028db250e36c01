// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>

// Where a line of 32-bit end points crosses a row: floor((2 i d + n) / 2n) for 0 <= i < n,
// |d| <= n, n < 2^33. The product 2 i d can need 66 bits.
namespace raster {

struct FloorDiv {
  std::int64_t quot;
  std::int64_t rem;  // in [0, divisor)
};

template <typename T>
FloorDiv DivideDown(T num, std::int64_t divisor) {
  T quot = num / divisor;
  T rem = num % divisor;
  if (rem < 0) {
    --quot;
    rem += divisor;
  }
  return {static_cast<std::int64_t>(quot), static_cast<std::int64_t>(rem)};
}

// Any compiler: a double estimate of the quotient (off by at most one or two, as it is below
// 2^34), then the exact remainder in wrapping 64-bit arithmetic (it is below 2^36, so the
// wrapped value is the true one), then the estimate corrected.
inline FloorDiv HalfStepOffsetPortable(std::int64_t i, std::int64_t d, std::int64_t n) {
  const std::int64_t divisor = 2 * n;
  std::int64_t quot = static_cast<std::int64_t>(
      std::floor((2.0 * static_cast<double>(i) * static_cast<double>(d) + static_cast<double>(n)) /
                 static_cast<double>(divisor)));
  const auto u = [](std::int64_t v) { return static_cast<std::uint64_t>(v); };
  std::int64_t rem = static_cast<std::int64_t>(u(2) * u(i) * u(d) + u(n) - u(quot) * u(divisor));
  while (rem < 0) {
    rem += divisor;
    --quot;
  }
  while (rem >= divisor) {
    rem -= divisor;
    ++quot;
  }
  return {quot, rem};
}

inline FloorDiv HalfStepOffset(std::int64_t i, std::int64_t d, std::int64_t n) {
  if (n < (std::int64_t{1} << 30)) return DivideDown<std::int64_t>(2 * i * d + n, 2 * n);
#if defined(__SIZEOF_INT128__) && !defined(SIMHACHEUR_PORTABLE)
  __extension__ typedef __int128 Int128;
  return DivideDown<Int128>(Int128{2} * i * d + n, 2 * n);
#else
  return HalfStepOffsetPortable(i, d, n);
#endif
}

}  // namespace raster
