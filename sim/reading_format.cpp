#include "sim/reading_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kSignificantDigits = 6;
constexpr int kDecimalDigits = 18;  // digits taken from the value before rounding

// The first kDecimalDigits significant digits of |value| and the count of digits before the
// decimal point (zero or negative for values below 1).
struct Digits {
  std::string digits;
  int integerDigits = 0;
};

Digits DecimalDigits(long double magnitude) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*Le", kDecimalDigits - 1, magnitude);
  Digits result;
  for (const char* c = text; *c != '\0' && *c != 'e'; ++c) {
    if (*c >= '0' && *c <= '9') result.digits.push_back(*c);
  }
  const char* exponent = std::strchr(text, 'e');
  result.integerDigits = (exponent != nullptr ? std::atoi(exponent + 1) : 0) + 1;
  return result;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
void RoundDigits(Digits& d, int keep) {
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = keep < static_cast<int>(d.digits.size()) && d.digits[keep] >= '5';
  d.digits.resize(std::min<std::size_t>(keep, d.digits.size()));
  if (!up) return;
  int i = static_cast<int>(d.digits.size()) - 1;
  while (i >= 0 && d.digits[i] == '9')
    d.digits[i--] = '0';
  if (i >= 0) {
    ++d.digits[i];
  } else {
    d.digits.insert(d.digits.begin(), '1');
    ++d.integerDigits;
  }
}

char DigitAt(const Digits& d, int position) {
  if (position < 0 || position >= static_cast<int>(d.digits.size())) return '0';
  return d.digits[position];
}

// More integer digits than significant ones: d,ddddE+n, trailing zeros of the mantissa left out.
std::string ExponentText(const Digits& d, bool negative, std::string_view separator) {
  std::string mantissa = d.digits;
  while (mantissa.size() > 1 && mantissa.back() == '0')
    mantissa.pop_back();
  std::string text = negative ? "-" : "";
  text.push_back(mantissa[0]);
  if (mantissa.size() > 1) {
    text.append(separator);
    text.append(mantissa, 1, std::string::npos);
  }
  return text + "E+" + std::to_string(d.integerDigits - 1);
}

}  // namespace

std::string FormatReading(long double value, int decimals, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  decimals = std::max(decimals, 0);
  if (value == 0) {  // the tachometer's reset, many times a second: no digits to work out
    return decimals == 0 ? "0" : "0" + std::string(separator) + std::string(decimals, '0');
  }

  Digits d = DecimalDigits(std::fabs(value));
  RoundDigits(d, std::min(kSignificantDigits, d.integerDigits + decimals));
  if (d.integerDigits > kSignificantDigits) return ExponentText(d, value < 0, separator);

  std::string text;
  if (d.integerDigits <= 0) text.push_back('0');
  for (int i = 0; i < d.integerDigits; ++i)
    text.push_back(DigitAt(d, i));
  if (decimals > 0) {
    text.append(separator);
    for (int i = 0; i < decimals; ++i)
      text.push_back(DigitAt(d, d.integerDigits + i));
  }

  const bool zero = std::all_of(d.digits.begin(), d.digits.end(), [](char c) { return c == '0'; });
  if (std::signbit(value) && !zero) text.insert(text.begin(), '-');
  return text;
}
