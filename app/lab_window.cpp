// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab_window.h"

#include <QEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>

TLabWindow::TLabWindow(QWidget* parent, QSize preferred)
    : QDialog(parent), placer_(this, preferred) {}

TLabWindow::~TLabWindow() = default;

// Beside the plot and the instruments, not over them, each time it opens.
void TLabWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) placer_.Showing();
  QDialog::showEvent(event);
}

void TLabWindow::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  placer_.Changed();
}

void TLabWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placer_.Changed();
}

void TLabWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) placer_.StateChanged();
}
