// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/confirmation_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

TConfirmationHandler& CurrentHandler() {
  static TConfirmationHandler handler;
  return handler;
}

}  // namespace

bool AskConfirmation(const QString& question) {
  if (CurrentHandler()) return CurrentHandler()(question);
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), question);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(cancel);  // Escape and the close box answer "Annuler"
  box.exec();
  return box.clickedButton() == ok;
}

TConfirmationHandler SetConfirmationHandler(TConfirmationHandler handler) {
  TConfirmationHandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}
