// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

// "A propos": the program's icon, credit, licences and contact, and an OK button. A plain layout.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

 private:
  std::unique_ptr<Ui::TAboutBox> ui_;
};
