// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer: picture files.
#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPicture(data, size);
  return 0;
}
