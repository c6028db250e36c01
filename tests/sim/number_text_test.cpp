// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as text and back, the same under every C library locale. The expected texts are those
// the program wrote before it had this module, under the C locale.
#include "sim/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "tests/sim/c_locale.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");
const std::string kNnbsp = "\u202F";
constexpr unsigned kTrim = kFixedTrimZeros, kAway = kFixedHalvesAway;

// 1e300 and the largest double, every digit of their binary values.
const std::string k1e300 =
    "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375"
    "0804478640437044438328838781769425232353604305756447921847867069828483872009265758037378302"
    "3379478809005936895323497079994508111903896764088007465274278014249457925878882005684283811"
    "5669472196386865459400540160";
const std::string kDblMax =
    "1797693134862315708145274237317043567980705675258449965989174768031572607800285387605895586"
    "3276687817154045895351438246423432132688946418276846754670353751698604991057655128207624549"
    "0090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738"
    "177180919299881250404026184124858368";

// Runs each test under each of the C library's locales.
class NumberTextTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(locale_.Ok()) << GetParam()
                              << " is not installed: scripts/install-deps.sh makes it";
  }

 private:
  TCLocale locale_{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(CLocales, NumberTextTest, testing::ValuesIn(kCLocales));

TEST_P(NumberTextTest, FixedTextAsTheAxesTheTableAndTheEquationWriteIt) {
  const struct {
    double value;
    int decimals;
    const char* mark;
    unsigned style;
    std::string group;
    std::string expected;
  } rows[] = {
      // Axis labels: three decimals at most, halves to even, grouped thousands.
      {25, 3, ",", kTrim, kNnbsp, "25"},
      {-25, 3, ",", kTrim, kNnbsp, "-25"},
      {0, 3, ",", kTrim, kNnbsp, "0"},
      {-0.0, 3, ",", kTrim, kNnbsp, "0"},
      {0.0005, 3, ",", kTrim, kNnbsp, "0,001"},  // its binary value lies above the half
      {-0.0005, 3, ",", kTrim, kNnbsp, "-0,001"},
      {0.00049, 3, ",", kTrim, kNnbsp, "0"},
      {-0.00031, 3, ",", kTrim, kNnbsp, "0"},  // no sign on a text of zeros
      {0.0625, 3, ",", kTrim, kNnbsp, "0,062"},
      {0.1 + 0.2, 3, ".", kTrim, ",", "0.3"},
      {999.9995, 3, ",", kTrim, kNnbsp, "1\u202F000"},
      {1e6, 3, ",", kTrim, kNnbsp, "1\u202F000\u202F000"},
      {1234567.125, 3, ".", kTrim, ",", "1,234,567.125"},
      {-12345678, 3, ",", kTrim, kNnbsp, "-12\u202F345\u202F678"},
      {5e-324, 3, ",", kTrim, kNnbsp, "0"},
      {1e300, 3, ",", kTrim, "", k1e300},
      {-DBL_MAX, 0, ".", kFixedPlain, "", "-" + kDblMax},
      // Without trimming the zeros stay.
      {2.5, 2, ",", kFixedPlain, "", "2,50"},
      {-0.004, 2, ",", kFixedPlain, "", "0,00"},
      {0.0625, 3, ",", kFixedPlain, "", "0,062"},
      // Halves away from zero, as Qt writes them: the notebook's table and equation.
      {0.0625, 3, ",", kAway, "", "0,063"},
      {0.125, 2, ",", kAway, "", "0,13"},
      {-0.125, 2, ",", kAway, "", "-0,13"},
      {2.5, 0, ",", kAway, "", "3"},
      {-0.5, 0, ",", kAway, "", "-1"},
      {999.5, 0, ",", kAway, kNnbsp, "1\u202F000"},
      {0.0078125, 6, ",", kAway | kTrim, "", "0,007813"},
      {61528352103132.7265625, 6, ".", kAway, "", "61528352103132.726563"},
      {2.675, 2, ",", kAway, "", "2,67"},  // below the half in binary
      {1234.5678, 2, ",", kAway, kNnbsp, "1\u202F234,57"},
      {-0.004, 2, ",", kAway, kNnbsp, "0,00"},
      {12345.678, 6, ",", kAway | kTrim, "", "12345,678"},
      {-0.0005, 6, ",", kAway | kTrim, "", "-0,0005"},
      // R²: a value below zero keeps its sign, -0 does not.
      {-0.00031, 3, ",", kAway | kFixedSignBelowZero, "", "-0,000"},
      {-5e-324, 3, ",", kAway | kFixedSignBelowZero, "", "-0,000"},
      {-0.0, 3, ",", kAway | kFixedSignBelowZero, "", "0,000"},
      {0.98765, 3, ",", kAway | kFixedSignBelowZero, "", "0,988"},
      // A negative count is no decimals.
      {2.5, -1, ",", kFixedPlain, "", "2"},
      {kNaN, 2, ",", kFixedPlain, "", "nan"},
      {kInf, 2, ",", kFixedPlain, "", "inf"},
      {-kInf, 2, ",", kTrim, kNnbsp, "-inf"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(FixedText(r.value, r.decimals, r.mark, r.style, r.group), r.expected)
        << r.value << " at " << r.decimals << " decimals, style " << r.style;
  }
  // The smallest double at 327 decimals, where four significant digits show.
  EXPECT_EQ(FixedText(5e-324, 327, ",", kAway), "0," + std::string(323, '0') + "4941");
}

TEST_P(NumberTextTest, SignificantDecimals) {
  const struct {
    double value;
    int digits, decimals;
  } rows[] = {{312.46, 4, 1}, {0.003125, 4, 6}, {12345.678, 4, -1}, {1000, 4, 0},
              {999.9, 4, 1},  {-0.05, 4, 5},    {5e-324, 4, 327},   {0, 4, 0},
              {kNaN, 4, 0},   {-kInf, 4, 0},    {1, 1, 0},          {DBL_MAX, 4, -305}};
  for (const auto& r : rows)
    EXPECT_EQ(SignificantDecimals(r.value, r.digits), r.decimals) << r.value;
}

TEST_P(NumberTextTest, ShortestTextReadsBackTheSameDouble) {
  const struct {
    double value;
    const char* mark;
    const char* expected;
  } rows[] = {{0.1 + 0.2, ",", "0,30000000000000004"},
              {1.5, ".", "1.5"},
              {-0.0, ",", "-0"},
              {0.0005, ",", "5e-04"},
              {1e6, ",", "1e+06"},
              {12345678, ",", "12345678"},
              {5e-324, ",", "5e-324"},
              {DBL_MIN, ",", "2,2250738585072014e-308"},
              {DBL_MAX, ",", "1,7976931348623157e+308"},
              {-DBL_MAX, "\u066B", "-1\u066B7976931348623157e+308"},
              {kNaN, ",", "nan"},
              {-kInf, ",", "-inf"}};
  for (const auto& r : rows)
    EXPECT_EQ(ShortestText(r.value, r.mark), r.expected) << r.value;
}

TEST_P(NumberTextTest, SpreadsheetTextKeepsTheUsualTextWhenItReadsBack) {
  const struct {
    double value;
    const char* expected;
  } rows[] = {
      // Six decimals at most, trailing zeros dropped, as exported files always had them.
      {12.345678, "12,345678"},
      {-3.5, "-3,5"},
      {0.0005, "0,0005"},
      {-0.000001, "-0,000001"},
      {1234567.25, "1234567,25"},
      {12345678, "12345678"},
      {-0.0, "0"},
      {999999.996, "999999,996"},
      {1e15, "1e+15"},
      {-1e300, "-1e+300"},
      {1.5e16, "1,5e+16"},
      // Otherwise the shortest text that reads back.
      {0.15000000000000002, "0,15000000000000002"},
      {0.0078125, "0,0078125"},
      {0.987654321, "0,987654321"},
      {4e-7, "4e-07"},
      {-5e-324, "-5e-324"},
      {DBL_MIN, "2,2250738585072014e-308"},
      {1e15 + 5, "1000000000000005"},
      {DBL_MAX, "1,7976931348623157e+308"},
      {-DBL_MAX, "-1,7976931348623157e+308"},
      // Not a number: an empty cell.
      {kNaN, ""},
      {kInf, ""},
      {-kInf, ""},
  };
  for (const auto& r : rows)
    EXPECT_EQ(SpreadsheetText(r.value, ","), r.expected) << r.value;
  EXPECT_EQ(SpreadsheetText(0.5, "."), "0.5");
}

TEST_P(NumberTextTest, ParseDecimalTakesACommaOrAPointAndNothingElse) {
  const struct {
    const char* text;
    std::optional<double> value;
  } rows[] = {{"37,5", 37.5},
              {"37.5", 37.5},
              {"-0,25", -0.25},
              {"+2", 2},
              {",5", 0.5},
              {"5,", 5},
              {"007", 7},
              {"1e3", 1000},
              {"1,5E-3", 0.0015},
              {"2e+2", 200},
              {"0,1", 0.1},
              {"1,7976931348623157e308", DBL_MAX},
              {"4,9406564584124654e-324", 5e-324},
              {"", std::nullopt},
              {"-", std::nullopt},
              {",", std::nullopt},
              {"1,2,3", std::nullopt},
              {"1.2,3", std::nullopt},
              {" 1", std::nullopt},
              {"1 ", std::nullopt},
              {"1\u202F000", std::nullopt},
              {"--1", std::nullopt},
              {"+-1", std::nullopt},
              {"1e", std::nullopt},
              {"1e+", std::nullopt},
              {"e5", std::nullopt},
              {"inf", std::nullopt},
              {"nan", std::nullopt},
              {"0x10", std::nullopt},
              {"\u0663\u0667", std::nullopt},  // Arabic-Indic digits
              {"1,79769313486232e+308", std::nullopt},
              {"1e-400", std::nullopt}};
  for (const auto& r : rows)
    EXPECT_EQ(ParseDecimal(r.text), r.value) << '"' << r.text << '"';
  const std::optional<double> negativeZero = ParseDecimal("-0");
  ASSERT_TRUE(negativeZero.has_value());
  EXPECT_TRUE(*negativeZero == 0 && std::signbit(*negativeZero));
}

TEST_P(NumberTextTest, RoundTrips) {
  // Text → number → text: what a person typed comes back as typed.
  for (const char* typed : {"37,5", "0,001", "-12,75", "1234,5", "0,3"}) {
    const std::optional<double> value = ParseDecimal(typed);
    ASSERT_TRUE(value.has_value()) << typed;
    EXPECT_EQ(FixedText(*value, 6, ",", kTrim), typed);
    EXPECT_EQ(SpreadsheetText(*value, ","), typed);
  }
  // Number → text → number: every finite double, bit for bit, through both texts.
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    const std::optional<double> shortest = ParseDecimal(ShortestText(value, ","));
    ASSERT_TRUE(shortest.has_value()) << ShortestText(value, ",");
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*shortest), std::bit_cast<std::uint64_t>(value));
    EXPECT_EQ(ParseDecimal(SpreadsheetText(value, ",")), value) << SpreadsheetText(value, ",");
  }
}

// printf in the C locale is the reference for halves to even; the values that tell roundings
// apart are the dyadic ones, whose binary fraction ends within reach of a few decimals.
TEST(FixedText, AsPrintfWritesItInTheCLocale) {
  const TCLocale locale("C");
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double value =
        i % 2 == 0 ? std::ldexp(static_cast<double>(random() % 1000000), -int(random() % 24))
                   : std::ldexp(static_cast<double>(random() >> 11), int(random() % 200) - 150);
    const double signedValue = random() % 2 == 0 ? value : -value;
    const int decimals = static_cast<int>(random() % 10);
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, signedValue);
    std::string expected(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(expected.data(), expected.size(), "%.*f", decimals, signedValue);
    expected.pop_back();
    if (expected.find_first_of("123456789") == std::string::npos && expected[0] == '-')
      expected.erase(0, 1);  // no sign on a text of zeros
    ASSERT_EQ(FixedText(signedValue, decimals, "."), expected);
  }
}

}  // namespace
