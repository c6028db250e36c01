// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the start-up benchmark: a bare Qt window, maximised as the program's is.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Fenêtre nue"));
  window.showMaximized();
  return QApplication::exec();
}
