// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/reading_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>
#include <tuple>

#include "tests/sim/c_locale.h"

namespace {

struct ReadingRow {
  long double value;
  int decimals;
  const char* separator;
  const char* expected;
};

std::ostream& operator<<(std::ostream& out, const ReadingRow& row) {
  return out << static_cast<double>(row.value) << " with " << row.decimals << " decimals";
}

const ReadingRow kRows[] = {
    // Volts and amperes: two decimals, the locale's separator.
    ReadingRow{10.4L, 2, ",", "10,40"}, ReadingRow{10.4L, 2, ".", "10.40"},
    ReadingRow{5.2L, 2, ",", "5,20"}, ReadingRow{-10.4L, 2, ",", "-10,40"},
    ReadingRow{0.052L, 2, ",", "0,05"}, ReadingRow{13.942857142857L, 2, ",", "13,94"},
    ReadingRow{1.0795812053115424L, 2, ",", "1,08"},
    ReadingRow{0.4072289156626506L, 2, ",", "0,41"}, ReadingRow{-0.4L, 2, ",", "-0,40"},
    ReadingRow{16, 2, ",", "16,00"}, ReadingRow{0, 2, ",", "0,00"},
    // Zero and values that round to it carry no sign.
    ReadingRow{-0.0L, 2, ",", "0,00"}, ReadingRow{-0.004L, 2, ",", "0,00"},
    ReadingRow{-0.0004L, 2, ",", "0,00"}, ReadingRow{-0.4L, 0, ",", "0"},
    ReadingRow{-0.0L, 0, ",", "0"},
    // Half away from zero, also where the rounding reaches a new digit.
    ReadingRow{0.125L, 2, ",", "0,13"}, ReadingRow{-0.125L, 2, ",", "-0,13"},
    ReadingRow{0.005L, 2, ",", "0,01"}, ReadingRow{-0.006L, 2, ",", "-0,01"},
    ReadingRow{9.996L, 2, ",", "10,00"}, ReadingRow{2919.9999999L, 0, ",", "2920"},
    ReadingRow{2.5L, 0, ",", "3"}, ReadingRow{0.5L, 0, ",", "1"},
    // Speeds: no decimals, no separator.
    ReadingRow{1360, 0, ",", "1360"}, ReadingRow{-2920, 0, ",", "-2920"},
    ReadingRow{7000, 0, ".", "7000"},
    // Never more than six significant digits; the rest are shown as zeros.
    ReadingRow{12345.678L, 2, ",", "12345,70"}, ReadingRow{123456.78L, 2, ",", "123457,00"},
    ReadingRow{99999.996L, 2, ",", "100000,00"}, ReadingRow{1234.5678L, 2, ",", "1234,57"},
    ReadingRow{999999.996L, 2, ",", "1E+6"}, ReadingRow{12345678, 2, ",", "1,23457E+7"},
    ReadingRow{-12000000, 0, ".", "-1.2E+7"},
    // Halves of the last decimal, as the double holds them; huge and tiny values.
    ReadingRow{0.0005, 3, ",", "0,001"}, ReadingRow{-0.0005, 3, ",", "-0,001"},
    ReadingRow{0.0005, 2, ",", "0,00"}, ReadingRow{999.9995, 2, ",", "1000,00"},
    ReadingRow{999.9995, 3, ",", "1000,000"}, ReadingRow{1e6, 0, ",", "1E+6"},
    ReadingRow{1e300, 2, ",", "1E+300"}, ReadingRow{DBL_MAX, 2, ",", "1,79769E+308"},
    ReadingRow{-DBL_MAX, 2, ".", "-1.79769E+308"}, ReadingRow{5e-324, 2, ",", "0,00"},
    ReadingRow{-5e-324, 0, ",", "0"}, ReadingRow{LDBL_MAX, 2, ",", "1,18973E+4932"},
    // A separator of more than one character is kept whole.
    ReadingRow{1.5L, 2, "\u066B", "1\u066B50"}};

// Each row under each of the C library's locales: none of them may change a digit.
class ReadingFormatTest : public testing::TestWithParam<std::tuple<ReadingRow, const char*>> {};

TEST_P(ReadingFormatTest, WritesTheInstrumentText) {
  const auto& [row, localeName] = GetParam();
  const TCLocale locale(localeName);
  ASSERT_TRUE(locale.Ok()) << localeName;
  EXPECT_EQ(FormatReading(row.value, row.decimals, row.separator), row.expected)
      << "value " << static_cast<double>(row.value) << " under " << localeName;
}

INSTANTIATE_TEST_SUITE_P(Readings, ReadingFormatTest,
                         testing::Combine(testing::ValuesIn(kRows), testing::ValuesIn(kCLocales)));

TEST(ReadingFormat, NonFiniteValuesDoNotBreakTheBox) {
  EXPECT_EQ(FormatReading(std::numeric_limits<long double>::quiet_NaN(), 2, ","), "NAN");
  EXPECT_EQ(FormatReading(std::numeric_limits<long double>::infinity(), 2, ","), "INF");
  EXPECT_EQ(FormatReading(-std::numeric_limits<long double>::infinity(), 0, ","), "-INF");
}

}  // namespace
