// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The desktop's decimal mark ("," on a French desktop), read once: every number the program
// writes for the user goes through sim/number_text.h with it.
const std::string& DecimalMark();
