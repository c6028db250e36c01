// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QStandardPaths>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "app/notebook/notebook_format.h"
#include "app/save_file.h"

using namespace notebook_format;

namespace {

// A name beside `path` that no file has.
QString AsideName(const QString& path) {
  const QString base = path + QStringLiteral(".illisible-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString name = base;
  for (int n = 2; QFileInfo::exists(name); ++n)
    name = base + QStringLiteral("-%1").arg(n);
  return name;
}

// Puts the file aside; the name it now has, or empty when it could be neither renamed nor copied.
// Neither QFile::rename nor QFile::copy replaces an existing file, even one made in between.
QString SetAside(const QString& path) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    QString aside = AsideName(path);
    if (QFile::rename(path, aside) || QFile::copy(path, aside)) return aside;
    if (!QFileInfo::exists(aside)) break;  // failed for another reason than a name just taken
  }
  return {};
}

}  // namespace

TNotebookFile::TNotebookFile(QString path) : path_(std::move(path)) {}

TNotebookFile::~TNotebookFile() = default;

QString TNotebookFile::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/releves.tsv");
}

void TNotebookFile::Forget() {
  version_ = 0;
  header_.clear();
  offset_ = 0;
  lines_ = 0;
  missingLineFeed_ = tornTail_ = false;
}

TNotebookFile::TOpened TNotebookFile::OpenRegular(QFile& file, const QString& path, bool append,
                                                  QString* error) {
  const QIODevice::OpenMode mode =
      (append ? QIODevice::ReadWrite | QIODevice::Append : QIODevice::ReadOnly) |
      QIODevice::Unbuffered;
#ifdef Q_OS_UNIX
  const QByteArray name = QFile::encodeName(path);
  const int flags = O_CLOEXEC | O_NONBLOCK | (append ? O_RDWR | O_APPEND : O_RDONLY);
  const int fd = ::open(name.constData(), flags);
  if (fd < 0) {
    const int code = errno;
    if (code == ENOENT) return TOpened::kMissing;
    if (code == ENXIO || code == EISDIR) return TOpened::kNotRegular;  // a pipe, a folder
    *error = qt_error_string(code);
    return TOpened::kFailed;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return TOpened::kNotRegular;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    *error = file.errorString();
    return TOpened::kFailed;
  }
  return TOpened::kOk;
#else
  const QFileInfo info(path);
  if (!info.exists()) return TOpened::kMissing;
  if (!info.isFile()) return TOpened::kNotRegular;
  file.setFileName(path);
  if (!file.open(mode)) {
    *error = file.errorString();
    return file.exists() ? TOpened::kFailed : TOpened::kMissing;
  }
  return TOpened::kOk;
#endif
}

QString TNotebookFile::Failure(const QString& why) {
  problem_ = why;
  if (std::exchange(failureReported_, true)) return {};
  return QStringLiteral("Les relevés n'ont pas pu être enregistrés dans %1\u00A0: %2.")
      .arg(QuotedPath(path_), why);
}

// The file put aside; the message says where, or that it could not be and stays as it is.
QString TNotebookFile::SetAsideMessage(const QString& why) {
  const QString aside = SetAside(path_);
  if (aside.isEmpty()) {
    mustNotReplace_ = failureReported_ = true;
    return QStringLiteral(
               "Le fichier des relevés %1 est %2 et n'a pas pu être mis de "
               "côté\u202F; il ne sera pas remplacé et les nouveaux relevés ne seront "
               "pas enregistrés.")
        .arg(QuotedPath(path_), why);
  }
  return QStringLiteral(
             "Le fichier des relevés %1 est %2\u202F; il a été mis de côté sous le nom "
             "%3 et le cahier de relevés repart vide.")
      .arg(QuotedPath(path_), why, QuotedPath(aside));
}

// The whole file; false when there is nothing to parse, with what to say (nothing for a missing
// file).
bool TNotebookFile::ReadBytes(QByteArray* bytes, QString* message) {
  QFile file;
  QString error;
  switch (OpenRegular(file, path_, false, &error)) {
    case TOpened::kMissing:
      return false;
    case TOpened::kNotRegular:
      mustNotReplace_ = failureReported_ = true;
      *message = QStringLiteral(
                     "Le fichier des relevés %1 n'est pas un fichier ordinaire\u202F; il ne "
                     "sera pas remplacé et les nouveaux relevés ne seront pas enregistrés.")
                     .arg(QuotedPath(path_));
      return false;
    case TOpened::kFailed:
    case TOpened::kOk:
      break;
  }
  if (file.isOpen() && file.size() > kMaxLoadBytes) {
    file.close();
    *message =
        SetAsideMessage(QStringLiteral("trop volumineux pour ce programme (plus de %1\u00A0Mo)")
                            .arg(kMaxLoadBytes >> 20));
    return false;
  }
  if (file.isOpen()) {
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) error = file.errorString();
  }
  if (!file.isOpen() || !error.isEmpty()) {
    // Perhaps whole and only out of reach for now: kept as it is, and not written over.
    mustNotReplace_ = failureReported_ = true;
    *message = QStringLiteral(
                   "Le fichier des relevés %1 n'a pas pu être lu (%2)\u202F; il ne sera pas "
                   "remplacé et les nouveaux relevés ne seront pas enregistrés.")
                   .arg(QuotedPath(path_), error);
    return false;
  }
  return true;
}

TNotebookNews TNotebookFile::ReadWhole(const std::function<void(double)>& progress) {
  Forget();
  TNotebookNews news;
  news.kind = TNotebookNews::TKind::kGone;
  QByteArray bytes;
  if (!ReadBytes(&bytes, &news.message)) return news;
  TParse parse = ParseWhole(bytes, progress);
  if (!parse.error.isEmpty()) {
    news.message = SetAsideMessage(QStringLiteral("illisible (%1)").arg(parse.error));
    return news;
  }
  std::vector<TNotebookRow> rows = LiveRows(parse.entries);
  if (rows.size() > kMaxLoadRows) {
    news.message =
        SetAsideMessage(QStringLiteral("trop volumineux pour ce programme (plus de %1 relevés)")
                            .arg(QLocale(QLocale::French).toString(qulonglong(kMaxLoadRows))));
    return news;
  }
  version_ = parse.version;
  header_ = std::move(parse.header);
  offset_ = parse.end;
  lines_ = parse.lines;
  missingLineFeed_ = parse.missingLineFeed;
  tornTail_ = parse.tornTail;
  news.kind = TNotebookNews::TKind::kReplaced;
  news.rows = std::move(rows);
  return news;
}

TNotebookLoad TNotebookFile::Load(const std::function<void(double)>& progress) {
  mustNotReplace_ = false;
  Forget();
  if (!QFileInfo::exists(path_)) return {};
  // Under the lock, nobody appends while the file is read and perhaps rewritten.
  QString ignored;
  const bool locked = Lock(&ignored);
  failureReported_ = false;
  problem_.clear();
  TNotebookNews news = ReadWhole(progress);
  if (news.kind == TNotebookNews::TKind::kReplaced && locked &&
      (version_ == 1 || CompactionDue(news.rows.size(), 0))) {
    Rewrite(news.rows, &ignored);  // a failure is said at the first write, if it lasts
    failureReported_ = false;
    problem_.clear();
  }
  if (locked) Unlock();
  return {std::move(news.rows), news.message};
}

TNotebookNews TNotebookFile::ReadNew(bool locked) {
  using K = TNotebookNews::TKind;
  TNotebookNews news;
  if (mustNotReplace_) return news;
  QFile file;
  QString error;
  switch (OpenRegular(file, path_, false, &error)) {
    case TOpened::kMissing:
      if (version_ == 0) return news;
      Forget();
      news.kind = K::kGone;
      return news;
    case TOpened::kNotRegular:
      return ReadWhole();
    case TOpened::kFailed:
      return news;  // out of reach for now; looked at again next time
    case TOpened::kOk:
      break;
  }
  // A version 1 file has no generation to tell a rewrite from the same file: read again whole.
  const qint64 size = file.size();
  if (version_ != 2 || size < offset_ || file.read(header_.size()) != header_) {
    file.close();
    return ReadWhole();
  }
  if (!file.seek(offset_)) return news;
  const QByteArray bytes = file.readAll();
  file.close();
  TParse parse;
  parse.version = 2;
  ReadLines(std::string_view(bytes.constData(), std::size_t(bytes.size())), 0, 2, locked, &parse);
  if (!parse.error.isEmpty()) return ReadWhole();  // damaged within: put aside
  offset_ += parse.end;
  lines_ += parse.lines;
  if (parse.end > 0) missingLineFeed_ = parse.missingLineFeed;
  tornTail_ = parse.tornTail;
  news.entries = std::move(parse.entries);
  return news;
}
