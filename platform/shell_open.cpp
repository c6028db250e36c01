// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell_open.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

TDocumentOpener& CurrentOpener() {
  static TDocumentOpener opener;
  return opener;
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// xdg-open tells through its exit status whether an application took the document; Qt's own
// call only says whether xdg-open started. It is watched without being waited for.
bool OpenWithXdgOpen(const QString& path, const TOpenFailure& onFailure) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) return false;
  auto* process = new QProcess(QCoreApplication::instance());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, process,
                   [process, onFailure](int exitCode, QProcess::ExitStatus status) {
                     if ((status != QProcess::NormalExit || exitCode != 0) && onFailure) {
                       onFailure(QStringLiteral("aucune application n'a pu l'ouvrir"));
                     }
                     process->deleteLater();
                   });
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, onFailure](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;  // finished follows otherwise
                     if (onFailure)
                       onFailure(QStringLiteral("l'ouvreur du bureau n'a pas démarré"));
                     process->deleteLater();
                   });
  process->start(program, {path});
  return true;
}
#endif

}  // namespace

QString NativeDocumentPath(const QString& path) {
  QString unified = path;
  unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QDir::toNativeSeparators(QDir::cleanPath(unified));
}

void OpenDocument(const QString& path, const TOpenFailure& onFailure) {
  if (CurrentOpener()) {
    CurrentOpener()(
        path, onFailure ? onFailure : [](const QString&) {});
    return;
  }
  const auto fail = [&onFailure](const QString& reason) {
    if (onFailure) onFailure(reason);
  };
  if (!QFileInfo(path).isFile()) {
    fail(QStringLiteral("le fichier n'existe pas"));
    return;
  }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  if (OpenWithXdgOpen(path, onFailure)) return;
#endif
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    fail(QStringLiteral("le bureau n'a aucune application pour l'ouvrir"));
}

TDocumentOpener SetDocumentOpener(TDocumentOpener opener) {
  TDocumentOpener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}
