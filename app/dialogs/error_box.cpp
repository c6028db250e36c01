// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/error_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

TErrorBoxHandler& CurrentHandler() {
  static TErrorBoxHandler handler;
  return handler;
}

}  // namespace

void ShowErrorBox(const QString& message) {
  if (CurrentHandler()) {
    CurrentHandler()(message);
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                        message);
}

TErrorBoxHandler SetErrorBoxHandler(TErrorBoxHandler handler) {
  TErrorBoxHandler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}
