// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/ok_bottom_dlg.h"

#include "app/dialogs/dialog_flags.h"
#include "ui_ok_bottom_dlg.h"

TOKBottomDlg::TOKBottomDlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TOKBottomDlg>()) {
  ui_->setupUi(this);
  setWindowFlags(DialogWindowFlags());
}

TOKBottomDlg::~TOKBottomDlg() = default;
