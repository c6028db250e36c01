// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The text an instrument shows for a value: fixed point with exactly `decimals` digits after
// `separator`, rounded half away from zero to `decimals` places but to no more than six
// significant digits, and no minus sign on a value that rounds to zero. A value with more than six
// digits before the separator is written in exponent notation instead (12345678 as 1,23457E+7).
// Written by ReadingText (sim/number_text.h), whatever the C library's locale.
std::string FormatReading(long double value, int decimals, std::string_view separator);
