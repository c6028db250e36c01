// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/save_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

namespace {

TSaveFileWriter& Replacement() {
  static TSaveFileWriter writer;
  return writer;
}

// What failed, from Qt's error code as the save left it.
TSaveOutcome Failure(const QSaveFile& file) {
  switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
      return {TSaveFault::kWrite, file.errorString()};
    case QFileDevice::RenameError:
      return {TSaveFault::kReplace, file.errorString()};
    default:
      return {TSaveFault::kCreate, file.errorString()};
  }
}

QString Detail(const TSaveOutcome& outcome) {
  return outcome.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(outcome.detail);
}

// Why an export failed; Qt's own text follows for whoever looks after the machine.
QString Reason(const TSaveOutcome& outcome, const QString& path) {
  switch (outcome.fault) {
    case TSaveFault::kWrite:
      return QStringLiteral("l'écriture a échoué, le disque est peut-être plein") + Detail(outcome);
    case TSaveFault::kReplace:
      return QStringLiteral("l'ancien fichier n'a pas pu être remplacé") + Detail(outcome);
    case TSaveFault::kNone:
    case TSaveFault::kCreate:
      break;
  }
  const QFileInfo folder(QFileInfo(path).absolutePath());
  if (!folder.isDir())
    return QStringLiteral("le dossier %1 n'existe pas").arg(QuotedPath(folder.filePath()));
  if (!folder.isWritable())
    return QStringLiteral("le dossier %1 est protégé en écriture")
        .arg(QuotedPath(folder.filePath()));
  return QStringLiteral("le fichier n'a pas pu être créé") + Detail(outcome);
}

}  // namespace

TSaveOutcome SaveWholeFile(const QString& path, const QByteArray& bytes) {
  if (Replacement()) return Replacement()(path, bytes);
  QSaveFile file(path);
  file.setDirectWriteFallback(false);  // a read-only folder must fail, not write in place
  if (!file.open(QIODevice::WriteOnly)) return Failure(file);
  // Flushed here rather than by commit(), which may let a failure of that last buffer pass.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    TSaveOutcome failure = Failure(file);
    file.cancelWriting();
    return failure;
  }
  if (!file.commit()) return Failure(file);
  return {};
}

QString QuotedPath(const QString& path) {
  return QStringLiteral("«\u202F%1\u202F»").arg(QDir::toNativeSeparators(path));
}

QString CannotWriteMessage(const QString& path, const QString& reason) {
  return QStringLiteral("Impossible d'écrire le fichier %1\u00A0: %2.")
      .arg(QuotedPath(path), reason);
}

QString SaveFileOrSayWhy(const QString& path, const QByteArray& bytes) {
  const TSaveOutcome outcome = SaveWholeFile(path, bytes);
  return outcome.Ok() ? QString() : CannotWriteMessage(path, Reason(outcome, path));
}

TSaveFileWriter SetSaveFileWriter(TSaveFileWriter writer) {
  return std::exchange(Replacement(), std::move(writer));
}
