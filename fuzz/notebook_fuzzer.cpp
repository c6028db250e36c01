// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer: notebook files.
#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzNotebook(data, size);
  return 0;
}
