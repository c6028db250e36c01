// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TOKBottomDlg;
}

// "remarques sur les rubriques d'aide.": three remarks on the help pages, OK and Annuler. A
// plain layout.
class TOKBottomDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TOKBottomDlg(QWidget* parent = nullptr);
  ~TOKBottomDlg() override;

 private:
  std::unique_ptr<Ui::TOKBottomDlg> ui_;
};
