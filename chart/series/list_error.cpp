// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/list_error.h"

#include <charconv>
#include <string>

namespace {

// Digits only, the same under every locale.
std::string IndexText(int index) {
  char text[16];
  return std::string(text, std::to_chars(text, text + sizeof text, index).ptr);
}

}  // namespace

EListError::EListError(int index)
    : std::out_of_range("Indice de liste hors limites (" + IndexText(index) + ")"), index_(index) {}
