#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

TDocumentOpener& CurrentOpener() {
  static TDocumentOpener opener;
  return opener;
}

}  // namespace

QString NativeDocumentPath(const QString& path) {
  QString unified = path;
  unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QDir::toNativeSeparators(QDir::cleanPath(unified));
}

void OpenDocument(const QString& path) {
  if (CurrentOpener()) {
    CurrentOpener()(path);
    return;
  }
  // The result is not looked at: a missing page or browser is the desktop's to report.
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

TDocumentOpener SetDocumentOpener(TDocumentOpener opener) {
  TDocumentOpener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}
