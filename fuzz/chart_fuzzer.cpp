// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer: sequences of chart operations and window-system events.
#include <QApplication>

#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: at exit Qt's own globals may already be gone.
  static QApplication* app = new QApplication(*argc, *argv);
  (void)app;
  // The first paint loads the fonts, which the font library keeps for good: done here, that
  // is not taken for a leak of the first input.
  const std::uint8_t paint[] = {2, 1, 25, 1, 0, 1, 0, 12};
  FuzzChart(paint, sizeof paint);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzChart(data, size);
  return 0;
}
