// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/about_box.h"

#include "app/dialogs/dialog_flags.h"
#include "ui_about_box.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutBox>()) {
  ui_->setupUi(this);
  setWindowFlags(DialogWindowFlags());
}

TAboutBox::~TAboutBox() = default;
