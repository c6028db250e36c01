// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include "app/lab/lab_tools.h"
#include "app/save_folder.h"

// A seat without a printer whose save dialogs answer through `dialog`; the desktop's own
// answers come back when it goes.
class NoPrinter {
 public:
  explicit NoPrinter(TSaveFileDialog dialog)
      : printers_(TLabTools::SetPrinterQuery([] { return false; })),
        dialog_(SetSaveFileDialog(std::move(dialog))) {}
  ~NoPrinter() {
    TLabTools::SetPrinterQuery(std::move(printers_));
    SetSaveFileDialog(std::move(dialog_));
  }
  NoPrinter(const NoPrinter&) = delete;
  NoPrinter& operator=(const NoPrinter&) = delete;

 private:
  TLabTools::TPrinterQuery printers_;
  TSaveFileDialog dialog_;
};
