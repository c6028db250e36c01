#include "app/ok_bottom_dlg.h"

#include "ui_ok_bottom_dlg.h"

TOKBottomDlg::TOKBottomDlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TOKBottomDlg>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
}

TOKBottomDlg::~TOKBottomDlg() = default;
