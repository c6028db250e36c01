// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

// A dialog's frame: a title, the system menu and a close box, and neither minimise nor
// maximise buttons, whatever the window manager would add by default.
inline Qt::WindowFlags DialogWindowFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}
