// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook file's writing side: the lock, the lines appended to the journal, and the whole
// file rewritten when appending is impossible or the removed rows outweigh the live ones.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>
#include <QSysInfo>

#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_format.h"
#include "app/save_file.h"

using namespace notebook_format;

namespace {

// An append takes milliseconds and a rewrite of the largest notebook well under a second: a
// lock older than this belongs to a copy that died on another computer (on this one, QLockFile
// sees at once that its process is gone).
constexpr int kStaleLockMs = 10'000;
// A copy writing on this computer is waited for this long at most (it lets go within
// milliseconds, unless it writes row after row); a lock from another computer, or one that
// cannot be read, is not waited for at all: what is pending is tried again every second.
constexpr int kLiveCopyWaitMs = 3'000;
// Room a write needs beyond its bytes before a failure can be put down to something else than
// a full disk.
constexpr qint64 kSpareBytes = qint64{64} * 1024;
// Removed lines are only worth a rewrite once there are a few of them.
constexpr std::size_t kMinDeadLines = 32;

QString Detail(const QString& errorString) {
  return errorString.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(errorString);
}

// Why nothing could be written in `folder` (to `file`, when given), to follow "Les relevés n'ont
// pas pu être enregistrés dans … : "; `otherwise` when neither the rights nor the room explain it.
QString WhyUnwritable(const QString& folder, const QString& file, qint64 bytes,
                      const QString& otherwise) {
  if (!QFileInfo(folder).isWritable())
    return QStringLiteral("le dossier %1 n'est pas accessible en écriture").arg(QuotedPath(folder));
  if (!file.isEmpty()) {
    const QFileInfo info(file);
    if (info.exists() && !info.isWritable())
      return QStringLiteral("le fichier est en lecture seule");
  }
  const QStorageInfo storage(folder);
  if (storage.isValid() && storage.bytesAvailable() >= 0 &&
      storage.bytesAvailable() < bytes + kSpareBytes)
    return QStringLiteral("le disque est plein");
  return otherwise;
}

// Why a rewrite failed, to follow the same words as WhyUnwritable.
QString WriteFailure(const TSaveOutcome& outcome, const QString& path, qint64 bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  const QString detail = Detail(outcome.detail);
  switch (outcome.fault) {
    case TSaveFault::kWrite:
      return WhyUnwritable(folder, {}, bytes, QStringLiteral("l'écriture a échoué") + detail);
    case TSaveFault::kReplace:
      return QStringLiteral("l'ancien fichier n'a pas pu être remplacé") + detail;
    case TSaveFault::kNone:
    case TSaveFault::kCreate:
      break;
  }
  return WhyUnwritable(
      folder, {}, bytes,
      QStringLiteral("le fichier n'a pas pu être créé dans le dossier %1").arg(QuotedPath(folder)) +
          detail);
}

// Empty when the file was written whole; otherwise why not. The old file stays as it was.
QString WriteWhole(const QString& path, const QByteArray& bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder))
    return QStringLiteral("le dossier %1 n'a pas pu être créé").arg(QuotedPath(folder));
  const TSaveOutcome outcome = SaveWholeFile(path, bytes);
  return outcome.Ok() ? QString() : WriteFailure(outcome, path, bytes.size());
}

// A lock that QLockFile did not take over, unless it names another computer, cannot be read or
// is a folder: a copy of this computer holds it, and writes for milliseconds.
bool HeldHere(const QLockFile& lock, const QString& lockPath) {
  if (QFileInfo(lockPath).isDir()) return false;
  // Gone meanwhile, or still empty: a copy of this computer letting go of it or taking it.
  QFile file(lockPath);
  if (!file.open(QIODevice::ReadOnly)) return !file.exists();
  qint64 pid = 0;
  QString host, program;
  return !lock.getLockInfo(&pid, &host, &program) || host.isEmpty() ||
         host == QSysInfo::machineHostName();
}

}  // namespace

bool TNotebookFile::Lock(QString* message) {
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder)) {
    *message =
        Failure(QStringLiteral("le dossier %1 n'a pas pu être créé").arg(QuotedPath(folder)));
    return false;
  }
  if (!lock_) {
    lock_ = std::make_unique<QLockFile>(path_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(kStaleLockMs);
  }
  if (lock_->tryLock(0)) return true;
  // Only a copy of this computer is waited for: it lets go within milliseconds.
  if (lock_->error() == QLockFile::LockFailedError &&
      HeldHere(*lock_, path_ + QStringLiteral(".lock")) && lock_->tryLock(kLiveCopyWaitMs))
    return true;
  *message = Failure(lock_->error() == QLockFile::LockFailedError
                         ? LockTrouble()
                         : WhyUnwritable(folder, {}, 0,
                                         QStringLiteral("le verrou %1 n'a pas pu être posé")
                                             .arg(QuotedPath(path_ + QStringLiteral(".lock")))));
  return false;
}

QString TNotebookFile::LockTrouble() const {
  const QString lockPath = path_ + QStringLiteral(".lock");
  const QFileInfo info(lockPath);
  if (info.isDir()) {
    return QStringLiteral(
               "le verrou %1 est un dossier et non un fichier\u202F; il faut le supprimer")
        .arg(QuotedPath(lockPath));
  }
  qint64 pid = 0;
  QString host, program;
  if (!lock_->getLockInfo(&pid, &host, &program)) {
    // QLockFile removes a lock older than the stale time: this one it could not.
    const bool old =
        info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) > kStaleLockMs;
    return (old ? QStringLiteral("le verrou %1 ne peut être ni lu ni supprimé")
                : QStringLiteral("le verrou %1 ne peut pas être lu"))
        .arg(QuotedPath(lockPath));
  }
  if (host.isEmpty() || host == QSysInfo::machineHostName()) {
    return QStringLiteral(
               "une autre copie du programme sur cet ordinateur (processus %1) est en "
               "train de l'écrire")
        .arg(pid);
  }
  return QStringLiteral(
             "une copie du programme sur l'ordinateur «\u202F%1\u202F» est en train "
             "de l'écrire\u202F; si elle est arrêtée, son verrou sera repris quand il aura "
             "plus de %2\u00A0s")
      .arg(host)
      .arg(kStaleLockMs / 1000);
}

void TNotebookFile::Unlock() {
  if (lock_) lock_->unlock();
}

bool TNotebookFile::Append(const std::vector<std::string>& removed,
                           const std::vector<TNotebookRow>& rows, QString* message) {
  if (mustNotReplace_) {
    *message = Failure(QStringLiteral("le fichier illisible qui s'y trouve est conservé"));
    return false;
  }
  if (version_ != 2) return false;  // NeedsRewrite(): the caller rewrites instead
  QByteArray bytes;
  if (!removed.empty()) AppendRemoval(bytes, removed);
  for (const TNotebookRow& row : rows)
    AppendRecord(bytes, row);
  if (bytes.isEmpty()) return true;
  QFile file;
  if (!OpenToAppend(file, bytes.size(), message) || !WriteAtEnd(file, bytes, message)) return false;
  lines_ += rows.size() + (removed.empty() ? 0 : 1);
  missingLineFeed_ = false;
  failureReported_ = false;
  problem_.clear();
  return true;
}

bool TNotebookFile::OpenToAppend(QFile& file, qint64 bytes, QString* message) {
  QString error;
  switch (OpenRegular(file, path_, true, &error)) {
    case TOpened::kMissing:
      Forget();  // the next write makes it again, whole
      *message = Failure(QStringLiteral("le fichier a disparu"));
      return false;
    case TOpened::kNotRegular:
      mustNotReplace_ = true;
      *message = Failure(QStringLiteral("ce n'est plus un fichier ordinaire"));
      return false;
    case TOpened::kFailed:
      *message = Failure(WhyUnwritable(QFileInfo(path_).absolutePath(), path_, bytes,
                                       QStringLiteral("l'écriture a échoué") + Detail(error)));
      return false;
    case TOpened::kOk:
      break;
  }
  return true;
}

bool TNotebookFile::WriteAtEnd(QFile& file, QByteArray bytes, QString* message) {
  const auto failed = [&](qint64 size) {
    const QString detail = Detail(file.errorString());
    if (size >= 0) file.resize(size);  // no half line left behind
    *message = Failure(WhyUnwritable(QFileInfo(path_).absolutePath(), path_, bytes.size(),
                                     QStringLiteral("l'écriture a échoué") + detail));
    return false;
  };
  qint64 size = file.size();
  // A line cut short by a copy that died while writing it: it never was a row.
  if (tornTail_ && size > offset_) {
    if (!file.resize(offset_)) return failed(-1);
    size = offset_;
  }
  tornTail_ = false;
  char last = '\n';
  if (size > 0 && !(file.seek(size - 1) && file.getChar(&last))) return failed(-1);
  if (last != '\n') bytes.prepend('\n');
  if (file.write(bytes) != bytes.size()) return failed(size);
  // Bytes this copy has not read yet (written without the lock) are read later, with these.
  if (size == offset_) offset_ = size + bytes.size();
  return true;
}

bool TNotebookFile::Rewrite(const std::vector<TNotebookRow>& rows, QString* message) {
  if (mustNotReplace_) {
    *message = Failure(QStringLiteral("le fichier illisible qui s'y trouve est conservé"));
    return false;
  }
  QByteArray text;
  text.reserve(64 + qsizetype(rows.size()) * 160);
  text.append(kFirstLine2.data(), qsizetype(kFirstLine2.size()));
  text += '\t';
  text += QByteArray::fromStdString(NewNotebookRowId());
  text += '\n';
  const qsizetype headerSize = text.size();
  for (const TNotebookRow& row : rows)
    AppendRecord(text, row);
  const QString why = WriteWhole(path_, text);
  if (!why.isEmpty()) {
    *message = Failure(why);
    return false;
  }
  version_ = 2;
  header_ = text.left(headerSize);
  offset_ = text.size();
  lines_ = rows.size();
  missingLineFeed_ = tornTail_ = false;
  failureReported_ = false;
  problem_.clear();
  return true;
}

bool TNotebookFile::CompactionDue(std::size_t liveRows, std::size_t newLines) const {
  const std::size_t lines = lines_ + newLines;
  const std::size_t dead = lines > liveRows ? lines - liveRows : 0;
  return dead > liveRows && dead >= kMinDeadLines;
}

QString TNotebookFile::Save(const std::vector<TNotebookRow>& rows) {
  QString message;
  if (Lock(&message)) {
    Rewrite(rows, &message);
    Unlock();
  }
  return message;
}
