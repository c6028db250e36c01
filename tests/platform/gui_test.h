#pragma once

#include <gtest/gtest.h>

// Base of the suites that need fonts or the desktop palette: a QGuiApplication lives while the
// suite runs and is gone afterwards, so suites that check the fallbacks without one can run in
// the same process, in any order.
class GuiTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
};
