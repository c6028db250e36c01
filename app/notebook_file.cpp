#include "app/notebook_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <charconv>
#include <utility>

namespace {

constexpr char kFirstLine[] = "simhacheur relevés 1";
constexpr char kFormatName[] = "simhacheur relevés ";  // followed by the version

QString Quoted(const QString& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(text);
}

QString QuotedPath(const QString& path) {
  return Quoted(QDir::toNativeSeparators(path));
}

// ---------------------------------------------------------------------------------------------
// Writing

void AppendText(std::string& line, const std::string& text) {
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
void AppendNumber(std::string& line, const std::optional<double>& value) {
  if (!value) return;
  char buffer[32];
  line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *value).ptr);
}

QByteArray NotebookText(const std::vector<TNotebookRow>& rows) {
  std::string text = std::string(kFirstLine) + '\n';
  for (const TNotebookRow& row : rows) {
    for (int column = 0; column < kNotebookColumns; ++column) {
      const auto c = static_cast<TNotebookColumn>(column);
      if (column > 0) text += '\t';
      if (IsNumericColumn(c))
        AppendNumber(text, NumberOf(row, c));
      else
        AppendText(text, TextOf(row, c));
    }
    text += '\n';
  }
  return QByteArray::fromStdString(text);
}

QString WriteFailure(const QSaveFile& file, const QString& path) {
  const QString detail =
      file.errorString().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(file.errorString());
  switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
      return QStringLiteral("l'écriture a échoué, le disque est peut-être plein") + detail;
    case QFileDevice::RenameError:
      return QStringLiteral("l'ancien fichier n'a pas pu être remplacé") + detail;
    default:
      return QStringLiteral("le fichier n'a pas pu être créé dans le dossier %1")
                 .arg(QuotedPath(QFileInfo(path).absolutePath())) +
             detail;
  }
}

// Empty when the file was written whole; otherwise why not. The old file stays as it was.
QString WriteWhole(const QString& path, const QByteArray& bytes) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder))
    return QStringLiteral("le dossier %1 n'a pas pu être créé").arg(QuotedPath(folder));
  QSaveFile file(path);
  file.setDirectWriteFallback(false);  // a read-only folder must fail, not write in place
  if (!file.open(QIODevice::WriteOnly)) return WriteFailure(file, path);
  // Flushed here rather than by commit(), which may let a failure of that last buffer pass.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    const QString reason = WriteFailure(file, path);
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return WriteFailure(file, path);
  return {};
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
};

// The rows, or why the text is not a notebook (French, empty when it is one).
std::vector<TNotebookRow> ParseNotebookText(const QByteArray& bytes, QString* error) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8.decode(bytes);  // decode() is lazy: only a QString runs it
  if (bytes.isEmpty())
    *error = QStringLiteral("il est vide");
  else if (utf8.hasError())
    *error = QStringLiteral("son texte n'est pas en UTF-8");
  else if (!bytes.endsWith('\n'))
    *error = QStringLiteral("il est tronqué");
  if (!error->isEmpty()) return {};

  const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
  Parser parser;
  std::vector<TNotebookRow> rows;
  for (std::size_t start = 0; start < text.size() && parser.error.isEmpty();) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);  // the file went through a Windows editor
    if (++parser.lineNumber > 1) {
      rows.push_back(parser.Row(line));
    } else if (line != kFirstLine) {
      parser.error = line.starts_with(kFormatName)
                         ? QStringLiteral("il a été écrit par une autre version de simhacheur")
                         : QStringLiteral("ce n'est pas un fichier de relevés de simhacheur");
    }
  }
  *error = parser.error;
  if (!error->isEmpty()) rows.clear();
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

TNotebookFile::TNotebookFile(QString path) : path_(std::move(path)) {}

QString TNotebookFile::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/releves.tsv");
}

TNotebookLoad TNotebookFile::Load() {
  mustNotReplace_ = false;
  QFile file(path_);
  if (!file.exists()) return {};
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    // Perhaps whole and only out of reach for now: kept as it is, and not written over.
    mustNotReplace_ = failureReported_ = true;
    return {
        {},
        QStringLiteral("Le fichier des relevés %1 n'a pas pu être lu (%2)\u202F; il ne sera pas "
                       "remplacé et les nouveaux relevés ne seront pas enregistrés.")
            .arg(QuotedPath(path_), file.errorString())};
  }
  file.close();
  QString why;
  std::vector<TNotebookRow> rows = ParseNotebookText(bytes, &why);
  if (why.isEmpty()) return {std::move(rows), {}};

  const QString aside = SetAside(path_);
  if (aside.isEmpty()) {
    mustNotReplace_ = failureReported_ = true;
    return {{},
            QStringLiteral("Le fichier des relevés %1 est illisible (%2) et n'a pas pu être mis de "
                           "côté\u202F; il ne sera pas remplacé et les nouveaux relevés ne seront "
                           "pas enregistrés.")
                .arg(QuotedPath(path_), why)};
  }
  return {{},
          QStringLiteral("Le fichier des relevés %1 est illisible (%2)\u202F; il a été mis de côté "
                         "sous le nom %3 et le cahier de relevés repart vide.")
              .arg(QuotedPath(path_), why, QuotedPath(aside))};
}

QString TNotebookFile::Save(const std::vector<TNotebookRow>& rows) {
  const QString why = mustNotReplace_
                          ? QStringLiteral("le fichier illisible qui s'y trouve est conservé")
                          : WriteWhole(path_, NotebookText(rows));
  if (why.isEmpty()) {
    failureReported_ = false;
    return {};
  }
  if (std::exchange(failureReported_, true)) return {};
  return QStringLiteral("Les relevés n'ont pas pu être enregistrés dans %1\u00A0: %2.")
      .arg(QuotedPath(path_), why);
}
