// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every number the program writes or reads as text goes through here. Digits come from
// std::to_chars and std::from_chars, separators always from the caller: the C library's locale
// (which Qt sets from the environment at start-up) changes nothing.

// How FixedText writes a value; the flags combine with |.
enum TFixedStyle : unsigned {
  kFixedPlain = 0,  // trailing zeros kept; halves to even, as printf (0.0625 at three decimals
                    // is "0.062"); no minus sign on a text of zeros ("-0.001" is "0.00")
  kFixedTrimZeros = 1u << 0,      // trailing zeros of the fraction dropped, then a bare mark
  kFixedHalvesAway = 1u << 1,     // halves away from zero, as Qt's QString::number ("0.063")
  kFixedSignBelowZero = 1u << 2,  // every value below zero keeps its sign ("-0.00"); -0 none
};

// Fixed notation with `decimals` digits after `decimalMark` (none for a negative count) and
// every whole digit written out (1e300 has 301 of them), in groups of three apart by
// `groupMark` when one is given; the value's exact binary fraction is rounded. A value that is
// not finite is "nan", "inf" or "-inf".
std::string FixedText(double value, int decimals, std::string_view decimalMark,
                      unsigned style = kFixedPlain, std::string_view groupMark = {});

// The decimals that show `digits` significant digits in fixed notation: 4 digits of 312.46 take
// one decimal, of 0.003125 six. Negative for values with more whole digits than that; 0 for zero
// and values that are not finite.
int SignificantDecimals(double value, int digits);

// An instrument's read-out: exactly `decimals` digits after `separator`, rounded half away from
// zero to that many places but to no more than six significant digits, no minus sign on a value
// that rounds to zero; beyond six whole digits, exponent notation (12345678 is "1,23457E+7").
// "NAN", "INF", "-INF" for values that are not finite.
std::string ReadingText(long double value, int decimals, std::string_view separator);

// The shortest text that reads back as the same double ("0.1", "5e-324",
// "1.7976931348623157e+308"), its '.' replaced by `decimalMark`. "nan", "inf", "-inf" for values
// that are not finite.
std::string ShortestText(double value, std::string_view decimalMark = ".");

// A value for a spreadsheet: at most six decimals, trailing zeros dropped, no sign on a text of
// zeros (fifteen significant digits, "1e+15", from 1e15 up) whenever that text reads back as the
// same value; otherwise the shortest text that does. Empty for values that are not finite.
std::string SpreadsheetText(double value, std::string_view decimalMark);

// A decimal number as a person types it or a file stores it: an optional sign, ASCII digits with
// one ',' or '.' at most, an optional exponent ("1,5e-3"). Nothing else is taken: no blanks, no
// group separators, no "inf" or "nan", and no value beyond the range of a double.
std::optional<double> ParseDecimal(std::string_view text);
