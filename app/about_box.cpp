#include "app/about_box.h"

#include "ui_about_box.h"

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutBox>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
}

TAboutBox::~TAboutBox() = default;
