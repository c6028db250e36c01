// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "nan";
  return value < 0 ? "-inf" : "inf";
}

std::string WithMark(std::string_view text, std::string_view decimalMark) {
  std::string result;
  result.reserve(text.size() + decimalMark.size());
  for (char c : text) {
    if (c == '.')
      result.append(decimalMark);
    else
      result.push_back(c);
  }
  return result;
}

// Whether `magnitude` (finite, not negative) lies exactly halfway between two texts of
// `decimals` decimals. A double m·2^e with m odd and e < 0 has exactly −e decimals, the last a
// 5: halfway is decimals + 1 of them.
bool IsHalfway(double magnitude, int decimals) {
  if (magnitude == 0) return false;
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);  // in [0.5, 1), denormals too
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const long long lowest = static_cast<long long>(exponent) - 53 + std::countr_zero(mantissa);
  return lowest == -(static_cast<long long>(decimals) + 1);
}

// "123.450" for 123.45 at three decimals: every whole digit, exact rounding.
std::string FixedDigits(double magnitude, int decimals) {
  // The largest double has max_exponent10 + 1 whole digits, then the point.
  std::string text(std::numeric_limits<double>::max_exponent10 + 2 + std::size_t(decimals), '\0');
  const auto end = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                 std::chars_format::fixed, decimals)
                       .ptr;
  text.resize(static_cast<std::size_t>(end - text.data()));
  return text;
}

// A halfway value rounded away from zero: its exact text has one digit more, a 5, which goes
// and carries into the digits before it.
std::string HalfRoundedUp(double magnitude, int decimals) {
  std::string digits = FixedDigits(magnitude, decimals + 1);
  digits.pop_back();
  if (digits.ends_with('.')) digits.pop_back();
  for (auto c = digits.rbegin(); c != digits.rend(); ++c) {
    if (*c == '.') continue;
    if (*c != '9') {
      ++*c;
      return digits;
    }
    *c = '0';
  }
  return '1' + digits;
}

void AppendGrouped(std::string& text, std::string_view whole, std::string_view groupMark) {
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && !groupMark.empty() && (whole.size() - i) % 3 == 0) text.append(groupMark);
    text.push_back(whole[i]);
  }
}

// Fifteen significant digits in exponent notation, trailing zeros of the mantissa dropped:
// "1.5e+15", "-1e+300".
std::string FifteenDigitsText(double value) {
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t exponent = text.find('e');
  std::string_view mantissa = text.substr(0, exponent);
  mantissa = mantissa.substr(0, mantissa.find_last_not_of('0') + 1);
  if (mantissa.ends_with('.')) mantissa.remove_suffix(1);
  return std::string(mantissa) + std::string(text.substr(exponent));
}

// --- The instrument's read-out ---------------------------------------------------------------

constexpr int kReadingDigits = 6;  // significant digits an instrument shows
constexpr int kDigitsTaken = 18;   // digits taken from the value before rounding

// The first kDigitsTaken significant digits of a positive value and the count of digits before
// the decimal point (zero or negative for values below 1).
struct TDigits {
  std::string digits;
  int wholeDigits = 0;
};

TDigits DecimalDigits(long double magnitude) {
  char text[64];  // "1.18973149535723176502e+4932" at most
  const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                  std::chars_format::scientific, kDigitsTaken - 1)
                        .ptr;
  TDigits result;
  const char* c = text;
  for (; c != end && *c != 'e'; ++c) {
    if (IsDigit(*c)) result.digits.push_back(*c);
  }
  int exponent = 0;
  if (c != end) {
    ++c;
    if (c != end && *c == '+') ++c;  // from_chars takes a '-' only
    std::from_chars(c, end, exponent);
  }
  result.wholeDigits = exponent + 1;
  return result;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
void RoundDigits(TDigits& d, int keep) {
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const auto kept = static_cast<std::size_t>(keep);
  const bool up = kept < d.digits.size() && d.digits[kept] >= '5';
  d.digits.resize(std::min(kept, d.digits.size()));
  if (!up) return;
  // The carry runs left through the nines; `end` is one past the digit it reaches.
  std::size_t end = d.digits.size();
  while (end > 0 && d.digits[end - 1] == '9')
    d.digits[--end] = '0';
  if (end > 0) {
    ++d.digits[end - 1];
  } else {
    d.digits.insert(d.digits.begin(), '1');
    ++d.wholeDigits;
  }
}

char DigitAt(const TDigits& d, int position) {
  if (position < 0) return '0';
  const auto index = static_cast<std::size_t>(position);
  return index < d.digits.size() ? d.digits[index] : '0';
}

// More whole digits than significant ones: d,ddddE+n, trailing zeros of the mantissa left out.
std::string ExponentText(const TDigits& d, bool negative, std::string_view separator) {
  std::string mantissa = d.digits;
  while (mantissa.size() > 1 && mantissa.back() == '0')
    mantissa.pop_back();
  std::string text = negative ? "-" : "";
  text.push_back(mantissa[0]);
  if (mantissa.size() > 1) {
    text.append(separator);
    text.append(mantissa, 1, std::string::npos);
  }
  char exponent[16];
  const char* end = std::to_chars(exponent, exponent + sizeof exponent, d.wholeDigits - 1).ptr;
  return text + "E+" + std::string(exponent, static_cast<std::size_t>(end - exponent));
}

}  // namespace

std::string FixedText(double value, int decimals, std::string_view decimalMark, unsigned style,
                      std::string_view groupMark) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::max(decimals, 0);
  const double magnitude = std::fabs(value);
  const std::string digits = (style & kFixedHalvesAway) != 0 && IsHalfway(magnitude, decimals)
                                 ? HalfRoundedUp(magnitude, decimals)
                                 : FixedDigits(magnitude, decimals);

  const std::size_t point = std::min(digits.find('.'), digits.size());
  const std::string_view whole(digits.data(), point);
  std::string_view fraction =
      point < digits.size() ? std::string_view(digits).substr(point + 1) : std::string_view();
  if ((style & kFixedTrimZeros) != 0)
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);

  const bool digitShows = whole.find_first_not_of('0') != std::string_view::npos ||
                          fraction.find_first_not_of('0') != std::string_view::npos;
  std::string text;
  if (value < 0 && (digitShows || (style & kFixedSignBelowZero) != 0)) text.push_back('-');
  AppendGrouped(text, whole, groupMark);
  if (!fraction.empty()) {
    text.append(decimalMark);
    text.append(fraction);
  }
  return text;
}

int SignificantDecimals(double value, int digits) {
  if (value == 0 || !std::isfinite(value)) return 0;
  return digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
}

std::string ReadingText(long double value, int decimals, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  decimals = std::max(decimals, 0);
  if (value == 0) {  // the tachometer's reset, many times a second: no digits to work out
    return decimals == 0 ? "0"
                         : "0" + std::string(separator) +
                               std::string(static_cast<std::size_t>(decimals), '0');
  }

  TDigits d = DecimalDigits(std::fabs(value));
  RoundDigits(d, std::min(kReadingDigits, d.wholeDigits + decimals));
  if (d.wholeDigits > kReadingDigits) return ExponentText(d, value < 0, separator);

  std::string text;
  if (d.wholeDigits <= 0) text.push_back('0');
  for (int i = 0; i < d.wholeDigits; ++i)
    text.push_back(DigitAt(d, i));
  if (decimals > 0) {
    text.append(separator);
    for (int i = 0; i < decimals; ++i)
      text.push_back(DigitAt(d, d.wholeDigits + i));
  }

  const bool zero = std::all_of(d.digits.begin(), d.digits.end(), [](char c) { return c == '0'; });
  if (std::signbit(value) && !zero) text.insert(text.begin(), '-');
  return text;
}

std::string ShortestText(double value, std::string_view decimalMark) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  char buffer[32];  // "-2.2250738585072014e-308" is the longest
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return WithMark(std::string_view(buffer, static_cast<std::size_t>(end - buffer)), decimalMark);
}

std::string SpreadsheetText(double value, std::string_view decimalMark) {
  if (!std::isfinite(value)) return {};
  // A value halfway between two such texts reads back as neither, so how ties round does not
  // matter here.
  const std::string usual = std::fabs(value) < 1e15 ? FixedText(value, 6, ".", kFixedTrimZeros)
                                                    : FifteenDigitsText(value);
  if (ParseDecimal(usual) == value) return WithMark(usual, decimalMark);
  return ShortestText(value, decimalMark);
}

std::optional<double> ParseDecimal(std::string_view text) {
  std::string plain;  // what from_chars takes: a point, no leading '+'
  plain.reserve(text.size());
  std::size_t i = 0;
  const auto sign = [&] {
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      if (text[i] == '-' || !plain.empty()) plain.push_back(text[i]);  // "e+3" is taken
      ++i;
    }
  };
  const auto digits = [&] {
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      plain.push_back(text[i]);
    return i - start;
  };

  sign();
  std::size_t mantissaDigits = digits();
  if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
    plain.push_back('.');
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    sign();
    if (digits() == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0;
  const char* end = plain.data() + plain.size();
  const auto [stop, error] = std::from_chars(plain.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}
