// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/reading_format.h"

#include "sim/number_text.h"

std::string FormatReading(long double value, int decimals, std::string_view separator) {
  return ReadingText(value, decimals, separator);
}
