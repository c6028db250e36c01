// SPDX-License-Identifier: GPL-3.0-or-later
// The portable row crossing of long lines against 128-bit arithmetic, where the compiler has it.
#include "platform/wide_divide.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(HalfStepOffset, PortableMatchesWideArithmeticOnLongLines) {
  std::mt19937_64 random(20261208);
  for (int k = 0; k < 200000; ++k) {
    const std::int64_t n =
        (std::int64_t{1} << 30) + static_cast<std::int64_t>(random() % (std::uint64_t{3} << 31));
    const std::int64_t i = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(n));
    std::int64_t d =
        static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(2 * n + 1)) - n;
    if (k % 7 == 0) d = k % 2 ? n : -n;  // the steepest lines
    const raster::FloorDiv portable = raster::HalfStepOffsetPortable(i, d, n);
    ASSERT_GE(portable.rem, 0);
    ASSERT_LT(portable.rem, 2 * n);
#ifdef __SIZEOF_INT128__
    __extension__ typedef __int128 Int128;
    const raster::FloorDiv wide = raster::DivideDown<Int128>(Int128{2} * i * d + n, 2 * n);
    ASSERT_EQ(portable.quot, wide.quot) << i << " " << d << " " << n;
    ASSERT_EQ(portable.rem, wide.rem) << i << " " << d << " " << n;
#else
    // quot × 2n + rem must give back 2 i d + n; checked modulo 2^64, exact for these sizes.
    const auto u = [](std::int64_t v) { return static_cast<std::uint64_t>(v); };
    ASSERT_EQ(u(portable.quot) * u(2 * n) + u(portable.rem), u(2) * u(i) * u(d) + u(n));
#endif
  }
}

TEST(HalfStepOffset, ShortLinesStayInSixtyFourBits) {
  EXPECT_EQ(raster::HalfStepOffset(3, 1, 4).quot, 1);    // (6 + 4) / 8
  EXPECT_EQ(raster::HalfStepOffset(1, -1, 2).quot, 0);   // (-2 + 2) / 4
  EXPECT_EQ(raster::HalfStepOffset(2, -3, 3).quot, -2);  // (-12 + 3) / 6 = -1.5
}

}  // namespace
