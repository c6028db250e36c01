#include "app/notebook_file.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

constexpr std::string_view kFirstLine1 = "simhacheur relevés 1";
constexpr std::string_view kFirstLine2 = "simhacheur relevés 2";
constexpr std::string_view kFormatName = "simhacheur relevés ";  // followed by the version
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kIdLength = 32;

// An append takes milliseconds and a rewrite of the largest notebook well under a second: a
// lock older than this belongs to a copy that died on another computer (on this one, QLockFile
// sees at once that its process is gone).
constexpr int kStaleLockMs = 10'000;
constexpr int kLockWaitMs = 3'000;
// Room a write needs beyond its bytes before a failure can be put down to something else than
// a full disk.
constexpr qint64 kSpareBytes = 64 * 1024;
// Removed lines are only worth a rewrite once there are a few of them.
constexpr std::size_t kMinDeadLines = 32;

QString Quoted(const QString& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(text);
}

QString QuotedPath(const QString& path) {
  return Quoted(QDir::toNativeSeparators(path));
}

QString Detail(const QString& errorString) {
  return errorString.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(errorString);
}

bool IsId(std::string_view text) {
  if (text.size() != kIdLength) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

std::string Hex(const QByteArray& bytes) {
  return bytes.toHex().left(kIdLength).toStdString();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more = 0;
    std::uint32_t code = 0, least = 0;
    if ((c & 0xE0) == 0xC0) {
      more = 1, code = c & 0x1Fu, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, code = c & 0x0Fu, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, code = c & 0x07u, least = 0x10000;
    } else {
      return false;
    }
    if (end - p <= more) return false;
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    p += more + 1;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Writing

void AppendText(QByteArray& line, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '\\':
        line += "\\\\";
        break;
      case '\t':
        line += "\\t";
        break;
      case '\n':
        line += "\\n";
        break;
      case '\r':
        line += "\\r";
        break;
      default:
        line += c;
    }
  }
}

// Shortest text that reads back as the same double, with a point whatever the user's locale.
void AppendNumber(QByteArray& line, const std::optional<double>& value) {
  if (!value) return;
  char buffer[32];
  line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *value).ptr - buffer);
}

// The row's fields, tab-separated, as both versions write them.
void AppendFields(QByteArray& line, const TNotebookRow& row) {
  for (int column = 0; column < kNotebookColumns; ++column) {
    const auto c = static_cast<TNotebookColumn>(column);
    if (column > 0) line += '\t';
    if (IsNumericColumn(c))
      AppendNumber(line, NumberOf(row, c));
    else
      AppendText(line, TextOf(row, c));
  }
}

void AppendRecord(QByteArray& text, const TNotebookRow& row) {
  text += "+\t";
  AppendFields(text, row);
  text += '\t';
  // A row without a proper id would make the whole file unreadable: it gets one of its own.
  const std::string id = IsId(row.id) ? row.id : NewNotebookRowId();
  text.append(id.data(), qsizetype(id.size()));
  text += '\n';
}

void AppendRemoval(QByteArray& text, const std::vector<std::string>& ids) {
  text += "-\t";
  text += QByteArray::number(qulonglong(ids.size()));
  for (const std::string& id : ids) {
    text += '\t';
    text.append(id.data(), qsizetype(id.size()));
  }
  text += '\n';
}

// A version 1 row's id: the same in every copy that reads the same line.
std::string DerivedId(const TNotebookRow& row, int lineNumber) {
  QByteArray text = QByteArray::number(lineNumber) + '\n';
  AppendFields(text, row);
  return Hex(QCryptographicHash::hash(text, QCryptographicHash::Sha256));
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

QString WriteFailure(const QSaveFile& file, const QString& path, qint64 bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  const QString detail = Detail(file.errorString());
  switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
      return WhyUnwritable(folder, {}, bytes, QStringLiteral("l'écriture a échoué") + detail);
    case QFileDevice::RenameError:
      return QStringLiteral("l'ancien fichier n'a pas pu être remplacé") + detail;
    default:
      return WhyUnwritable(folder, {}, bytes,
                           QStringLiteral("le fichier n'a pas pu être créé dans le dossier %1")
                                   .arg(QuotedPath(folder)) +
                               detail);
  }
}

// Empty when the file was written whole; otherwise why not. The old file stays as it was.
QString WriteWhole(const QString& path, const QByteArray& bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder))
    return QStringLiteral("le dossier %1 n'a pas pu être créé").arg(QuotedPath(folder));
  QSaveFile file(path);
  file.setDirectWriteFallback(false);  // a read-only folder must fail, not write in place
  if (!file.open(QIODevice::WriteOnly)) return WriteFailure(file, path, bytes.size());
  // Flushed here rather than by commit(), which may let a failure of that last buffer pass.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    const QString reason = WriteFailure(file, path, bytes.size());
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return WriteFailure(file, path, bytes.size());
  return {};
}

// ---------------------------------------------------------------------------------------------
// Opening

enum class TOpened { kOk, kMissing, kNotRegular, kFailed };

// Opens `path` for reading, or for appending (reading too, to see its last byte). Never waits:
// a named pipe or a device in the file's place is refused as soon as it is seen, and what is
// checked is what was opened, not a name that may have changed in between.
TOpened OpenRegular(QFile& file, const QString& path, bool append, QString* error) {
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

// ---------------------------------------------------------------------------------------------
// Reading

struct Parser {
  QString error;  // the first fault met; parsing stops there
  int lineNumber = 0;

  void Fail(const QString& why) {
    if (error.isEmpty()) error = QStringLiteral("ligne %1\u00A0: %2").arg(lineNumber).arg(why);
  }

  std::string Text(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
      if (field[i] != '\\') {
        text += field[i];
        continue;
      }
      const char next = ++i < field.size() ? field[i] : '\0';
      switch (next) {
        case '\\':
          text += '\\';
          break;
        case 't':
          text += '\t';
          break;
        case 'n':
          text += '\n';
          break;
        case 'r':
          text += '\r';
          break;
        default:
          Fail(QStringLiteral("texte mal codé"));
          return {};
      }
    }
    return text;
  }

  std::optional<double> Number(std::string_view field) {
    if (field.empty()) return std::nullopt;
    double value = 0;
    const auto [end, fault] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (fault != std::errc() || end != field.data() + field.size()) {
      Fail(QStringLiteral("nombre illisible %1")
               .arg(Quoted(QString::fromUtf8(field.data(), qsizetype(field.size())).left(24))));
      return std::nullopt;
    }
    return value;
  }

  TNotebookRow Row(std::string_view line) {
    std::string_view fields[kNotebookColumns];
    int count = 0;
    for (std::size_t start = 0;; ++count) {
      const std::size_t tab = line.find('\t', start);
      if (count < kNotebookColumns) fields[count] = line.substr(start, tab - start);
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    if (++count != kNotebookColumns) {
      Fail(QStringLiteral("%1 champs au lieu de %2").arg(count).arg(kNotebookColumns));
      return {};
    }
    using C = TNotebookColumn;
    const auto at = [&](C c) { return fields[static_cast<int>(c)]; };
    return {Text(at(C::kTime)),        Text(at(C::kExperiment)), Text(at(C::kWiring)),
            Text(at(C::kChopperType)), Text(at(C::kDirection)),  Text(at(C::kDrivingMachine)),
            Number(at(C::kSetPoint)),  Number(at(C::kVoltage)),  Number(at(C::kSpeed)),
            Number(at(C::kCurrent1)),  Number(at(C::kCurrent2))};
  }

  std::string Id(std::string_view field) {
    if (IsId(field)) return std::string(field);
    Fail(QStringLiteral("identifiant illisible"));
    return {};
  }

  // "+\t<fields>\t<id>" or "-\t<count>\t<id>…".
  TNotebookEntry Entry(std::string_view line) {
    TNotebookEntry entry;
    if (line.starts_with("+\t")) {
      const std::size_t tab = line.rfind('\t');
      if (tab < 2) {
        Fail(QStringLiteral("relevé sans identifiant"));
        return entry;
      }
      entry.row = Row(line.substr(2, tab - 2));
      entry.row.id = Id(line.substr(tab + 1));
    } else if (line.starts_with("-\t")) {
      line.remove_prefix(2);
      const std::size_t tab = line.find('\t');
      std::size_t count = 0;
      const std::string_view countText = line.substr(0, tab);
      const auto [end, fault] =
          std::from_chars(countText.data(), countText.data() + countText.size(), count);
      if (fault != std::errc() || end != countText.data() + countText.size() || count == 0 ||
          tab == std::string_view::npos) {
        Fail(QStringLiteral("effacement mal écrit"));
        return entry;
      }
      for (std::size_t start = tab + 1; error.isEmpty();) {
        const std::size_t next = line.find('\t', start);
        entry.removed.push_back(Id(line.substr(start, next - start)));
        if (next == std::string_view::npos) break;
        start = next + 1;
      }
      if (entry.removed.size() != count) Fail(QStringLiteral("effacement incomplet"));
    } else {
      Fail(QStringLiteral("ligne inconnue"));
    }
    return entry;
  }

  // One line of the given version; false when it does not read (error then says why).
  bool Line(std::string_view line, int version, TNotebookEntry* entry) {
    if (!IsUtf8(line)) {
      Fail(QStringLiteral("texte qui n'est pas en UTF-8"));
      return false;
    }
    if (version == 1) {
      entry->row = Row(line);
      if (error.isEmpty()) entry->row.id = DerivedId(entry->row, lineNumber);
    } else {
      *entry = Entry(line);
    }
    return error.isEmpty();
  }
};

struct TParse {
  int version = 0;  // 0: not a notebook, and `error` says why
  QByteArray header;
  std::vector<TNotebookEntry> entries;
  qint64 end = 0;  // just past the last line taken
  std::size_t lines = 0;
  bool missingLineFeed = false;
  bool tornTail = false;
  QString error;
};

void ReadHeader(const QByteArray& bytes, TParse* parse) {
  if (bytes.isEmpty()) {
    parse->error = QStringLiteral("il est vide");
    return;
  }
  const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  const std::size_t lineFeed = text.find('\n');
  std::string_view first = text.substr(0, lineFeed);
  if (first.starts_with(kByteOrderMark)) first.remove_prefix(kByteOrderMark.size());
  if (first.ends_with('\r')) first.remove_suffix(1);
  if (!IsUtf8(first)) {
    parse->error = QStringLiteral("son texte n'est pas en UTF-8");
  } else if (first == kFirstLine1) {
    parse->version = 1;
  } else if (first == kFirstLine2 ||
             (first.starts_with(kFirstLine2) && first[kFirstLine2.size()] == '\t' &&
              IsId(first.substr(kFirstLine2.size() + 1)))) {
    parse->version = 2;
  } else if (first.starts_with(kFormatName)) {
    parse->error = QStringLiteral("il a été écrit par une autre version de simhacheur");
  } else {
    parse->error = QStringLiteral("ce n'est pas un fichier de relevés de simhacheur");
  }
  const qsizetype headerSize =
      lineFeed == std::string_view::npos ? bytes.size() : qsizetype(lineFeed) + 1;
  parse->header = bytes.left(headerSize);
  parse->end = headerSize;
  parse->missingLineFeed = lineFeed == std::string_view::npos;
}

// The lines of `text` from `from` (the start of a line, numbered `lineNumber`). A last line
// without a line feed is taken only with `takeTail` and when it reads; when it does not, it is
// a write cut short.
void ReadLines(std::string_view text, std::size_t from, int lineNumber, bool takeTail,
               TParse* parse) {
  Parser parser;
  parser.lineNumber = lineNumber - 1;
  for (std::size_t start = from; start < text.size();) {
    const std::size_t lineFeed = text.find('\n', start);
    std::string_view line = text.substr(start, lineFeed - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ++parser.lineNumber;
    TNotebookEntry entry;
    if (lineFeed == std::string_view::npos) {
      Parser tail = parser;
      if (line.empty()) {
        if (takeTail) parse->end = qint64(text.size());
      } else if (!tail.Line(line, parse->version, &entry)) {
        parse->tornTail = true;
      } else if (takeTail) {
        parse->entries.push_back(std::move(entry));
        ++parse->lines;
        parse->end = qint64(text.size());
        parse->missingLineFeed = true;
      }
      return;
    }
    start = lineFeed + 1;
    parse->missingLineFeed = false;
    if (!line.empty()) {  // blank lines, which editors may leave, say nothing
      if (!parser.Line(line, parse->version, &entry)) {
        parse->error = parser.error;
        return;
      }
      parse->entries.push_back(std::move(entry));
      ++parse->lines;
    }
    parse->end = qint64(start);
  }
}

TParse ParseWhole(const QByteArray& bytes) {
  TParse parse;
  ReadHeader(bytes, &parse);
  if (parse.version == 0) return parse;
  ReadLines(std::string_view(bytes.constData(), std::size_t(bytes.size())), std::size_t(parse.end),
            2, true, &parse);
  return parse;
}

// The rows live at the end of the entries, in the order they were recorded; a row recorded
// twice counts once.
std::vector<TNotebookRow> LiveRows(std::vector<TNotebookEntry>& entries) {
  std::vector<TNotebookRow> rows;
  std::vector<bool> removed;
  std::unordered_map<std::string, std::size_t> where;
  for (TNotebookEntry& entry : entries) {
    if (entry.removed.empty()) {
      if (!where.try_emplace(entry.row.id, rows.size()).second) continue;
      rows.push_back(std::move(entry.row));
      removed.push_back(false);
      continue;
    }
    for (const std::string& id : entry.removed) {
      const auto it = where.find(id);
      if (it == where.end()) continue;
      removed[it->second] = true;
      where.erase(it);
    }
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (removed[i]) continue;
    if (kept != i) rows[kept] = std::move(rows[i]);
    ++kept;
  }
  rows.resize(kept);
  return rows;
}

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
    const QString aside = AsideName(path);
    if (QFile::rename(path, aside) || QFile::copy(path, aside)) return aside;
    if (!QFileInfo::exists(aside)) break;  // failed for another reason than a name just taken
  }
  return {};
}

}  // namespace

std::string NewNotebookRowId() {
  quint64 bits[2];
  QRandomGenerator::system()->fillRange(bits);
  return Hex(QByteArray(reinterpret_cast<const char*>(bits), sizeof bits));
}

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

QString TNotebookFile::Failure(const QString& why) {
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

TNotebookNews TNotebookFile::ReadWhole() {
  using K = TNotebookNews::TKind;
  Forget();
  TNotebookNews news;
  news.kind = K::kGone;
  QFile file;
  QString error;
  switch (OpenRegular(file, path_, false, &error)) {
    case TOpened::kMissing:
      return news;
    case TOpened::kNotRegular:
      mustNotReplace_ = failureReported_ = true;
      news.message = QStringLiteral(
                         "Le fichier des relevés %1 n'est pas un fichier ordinaire\u202F; il ne "
                         "sera pas remplacé et les nouveaux relevés ne seront pas enregistrés.")
                         .arg(QuotedPath(path_));
      return news;
    case TOpened::kFailed:
    case TOpened::kOk:
      break;
  }
  QByteArray bytes;
  if (file.isOpen() && file.size() > kMaxLoadBytes) {
    file.close();
    news.message =
        SetAsideMessage(QStringLiteral("trop volumineux pour ce programme (plus de %1\u00A0Mo)")
                            .arg(kMaxLoadBytes >> 20));
    return news;
  }
  if (file.isOpen()) {
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) error = file.errorString();
  }
  if (!file.isOpen() || !error.isEmpty()) {
    // Perhaps whole and only out of reach for now: kept as it is, and not written over.
    mustNotReplace_ = failureReported_ = true;
    news.message = QStringLiteral(
                       "Le fichier des relevés %1 n'a pas pu être lu (%2)\u202F; il ne sera pas "
                       "remplacé et les nouveaux relevés ne seront pas enregistrés.")
                       .arg(QuotedPath(path_), error);
    return news;
  }
  file.close();
  TParse parse = ParseWhole(bytes);
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
  news.kind = K::kReplaced;
  news.rows = std::move(rows);
  return news;
}

TNotebookLoad TNotebookFile::Load() {
  mustNotReplace_ = false;
  Forget();
  if (!QFileInfo::exists(path_)) return {};
  // Under the lock, nobody appends while the file is read and perhaps rewritten.
  QString ignored;
  const bool locked = Lock(&ignored);
  failureReported_ = false;
  TNotebookNews news = ReadWhole();
  if (news.kind == TNotebookNews::TKind::kReplaced && locked &&
      (version_ == 1 || CompactionDue(news.rows.size(), 0))) {
    Rewrite(news.rows, &ignored);  // a failure is said at the first write, if it lasts
    failureReported_ = false;
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
  if (lock_->tryLock(kLockWaitMs)) return true;
  *message = Failure(lock_->error() == QLockFile::LockFailedError
                         ? QStringLiteral("une autre copie du programme est en train de l'écrire")
                         : WhyUnwritable(folder, {}, 0,
                                         QStringLiteral("le verrou %1 n'a pas pu être posé")
                                             .arg(QuotedPath(path_ + QStringLiteral(".lock")))));
  return false;
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
      *message = Failure(WhyUnwritable(QFileInfo(path_).absolutePath(), path_, bytes.size(),
                                       QStringLiteral("l'écriture a échoué") + Detail(error)));
      return false;
    case TOpened::kOk:
      break;
  }
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
  lines_ += rows.size() + (removed.empty() ? 0 : 1);
  missingLineFeed_ = false;
  failureReported_ = false;
  return true;
}

bool TNotebookFile::Rewrite(const std::vector<TNotebookRow>& rows, QString* message) {
  if (mustNotReplace_) {
    *message = Failure(QStringLiteral("le fichier illisible qui s'y trouve est conservé"));
    return false;
  }
  QByteArray text;
  text.reserve(qsizetype(64 + rows.size() * 160));
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
