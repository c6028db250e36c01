// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own formatting, which the notebook's texts followed before this module, is the reference
// for halves rounded away from zero: the halfway values are found from the double's bits, so the
// comparison runs over values that end their binary fraction at every reach.
#include <gtest/gtest.h>

#include <QString>
#include <bit>
#include <cmath>
#include <random>

#include "sim/number_text.h"
#include "tests/sim/c_locale.h"

namespace {

TEST(FixedText, HalvesAwayAsQtWritesThemUnderEveryCLocale) {
  for (const char* name : kCLocales) {
    const TCLocale locale(name);
    ASSERT_TRUE(locale.Ok()) << name;
    std::mt19937_64 random(2026);
    for (int i = 0; i < 60000; ++i) {
      double value = 0;
      switch (i % 3) {
        case 0:  // dyadic: many exact halves
          value = std::ldexp(static_cast<double>(random() % 1000000), -int(random() % 24));
          break;
        case 1:  // large values whose last bits weigh more than the decimals shown
          value = std::ldexp(static_cast<double>(random() >> 11), int(random() % 60) - 50);
          break;
        default:
          value = std::bit_cast<double>(random());
          if (!std::isfinite(value) || std::fabs(value) > 1e40) value = 0.5;
      }
      if (random() % 2 != 0) value = -value;
      const int decimals = static_cast<int>(random() % 10);
      ASSERT_EQ(QString::fromStdString(
                    FixedText(value, decimals, ".", kFixedHalvesAway | kFixedSignBelowZero)),
                QString::number(value, 'f', decimals))
          << value << " at " << decimals << " decimals under " << name;
    }
  }
}

}  // namespace
