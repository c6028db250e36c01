// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs/page_viewer.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/guarded.h"

TPageViewer::TPageViewer(const QString& path, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PageViewer"));
  setAttribute(Qt::WA_DeleteOnClose);
  // A reading window: it may be maximised, never minimised away from its owner.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("PageBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->setAccessibleName(QStringLiteral("Page d'aide"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setText(QStringLiteral("&Fermer"));
  close->setObjectName(QStringLiteral("PageViewerClose"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  ConnectGuarded(browser_, &QTextBrowser::sourceChanged, this, &TPageViewer::ShowTitle);
  browser_->setSource(QUrl::fromLocalFile(path));
  resize(760, 560);
  browser_->setFocus();
}

void TPageViewer::ShowTitle() {
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? browser_->source().fileName() : title);
}

TPageViewer* ReportPageFailure(const QString& path, const QString& reason, QWidget* parent) {
  const bool exists = QFileInfo(path).isFile();
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Page d'aide"),
                  QStringLiteral("La page n'a pas pu être ouverte\u00A0: %1.\n\n%2")
                      .arg(reason, QDir::toNativeSeparators(path)),
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("PageFailureBox"));
  QPushButton* show = nullptr;
  if (exists) {
    box.setInformativeText(QStringLiteral("L'afficher dans le programme\u202F?"));
    show = box.addButton(QStringLiteral("&Afficher ici"), QMessageBox::AcceptRole);
    box.setDefaultButton(show);
  }
  QPushButton* close = box.addButton(QStringLiteral("&Fermer"), QMessageBox::RejectRole);
  box.setEscapeButton(close);
  if (!exists) box.setDefaultButton(close);
  box.exec();
  if (show == nullptr || box.clickedButton() != show) return nullptr;
  auto* viewer = new TPageViewer(path, parent);
  viewer->show();
  return viewer;
}
