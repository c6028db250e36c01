// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/unsaved_rows_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace {

TUnsavedRowsHandlers& Current() {
  static TUnsavedRowsHandlers handlers;
  return handlers;
}

}  // namespace

TUnsavedRowsAnswer AskUnsavedRows(const QString& question) {
  if (Current().ask) return Current().ask(question);
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirmation"), question,
                  QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* exportButton = box.addButton(QStringLiteral("&Exporter…"), QMessageBox::AcceptRole);
  QPushButton* closeButton =
      box.addButton(QStringLiteral("&Fermer sans enregistrer"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  exportButton->setAccessibleName(QStringLiteral("Exporter les relevés"));
  closeButton->setAccessibleName(QStringLiteral("Fermer sans enregistrer"));
  cancel->setAccessibleName(QStringLiteral("Annuler"));
  box.setDefaultButton(exportButton);
  box.setEscapeButton(cancel);  // Escape and the close box stay in the program
  box.exec();
  if (box.clickedButton() == exportButton) return TUnsavedRowsAnswer::kExport;
  if (box.clickedButton() == closeButton) return TUnsavedRowsAnswer::kClose;
  return TUnsavedRowsAnswer::kCancel;
}

QString AskUnsavedRowsPath(QWidget* parent, const QString& proposedPath) {
  if (Current().path) return Current().path(proposedPath);
  return QFileDialog::getSaveFileName(parent,
                                      QStringLiteral("Exporter les relevés non enregistrés"),
                                      proposedPath, QStringLiteral("Fichiers CSV (*.csv)"));
}

TUnsavedRowsHandlers SetUnsavedRowsHandlers(TUnsavedRowsHandlers handlers) {
  return std::exchange(Current(), std::move(handlers));
}
