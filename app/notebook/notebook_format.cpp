// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_format.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <utility>

using namespace notebook_format;

namespace {

constexpr std::string_view kFirstLine1 = "simhacheur relevés 1";
constexpr std::string_view kFormatName = "simhacheur relevés ";  // followed by the version
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kIdLength = 32;

QString Quoted(const QString& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(text);
}

bool IsId(std::string_view text) {
  if (text.size() != kIdLength) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
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

// A version 1 row's id: the same in every copy that reads the same line.
std::string DerivedId(const TNotebookRow& row, int lineNumber) {
  QByteArray text = QByteArray::number(lineNumber) + '\n';
  AppendFields(text, row);
  return Hex(QCryptographicHash::hash(text, QCryptographicHash::Sha256));
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

}  // namespace

std::string NewNotebookRowId() {
  quint64 bits[2];
  QRandomGenerator::system()->fillRange(bits);
  return Hex(QByteArray(reinterpret_cast<const char*>(bits), sizeof bits));
}

namespace notebook_format {

std::string Hex(const QByteArray& bytes) {
  return bytes.toHex().left(kIdLength).toStdString();
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

void ReadLines(std::string_view text, std::size_t from, int lineNumber, bool takeTail,
               TParse* parse, const TReadProgress& progress) {
  Parser parser;
  parser.lineNumber = lineNumber - 1;
  for (std::size_t start = from; start < text.size();) {
    if (progress && parser.lineNumber % 4096 == 0) progress(double(start) / double(text.size()));
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

TParse ParseWhole(const QByteArray& bytes, const TReadProgress& progress) {
  TParse parse;
  ReadHeader(bytes, &parse);
  if (parse.version == 0) return parse;
  ReadLines(std::string_view(bytes.constData(), std::size_t(bytes.size())), std::size_t(parse.end),
            2, true, &parse, progress);
  return parse;
}

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

}  // namespace notebook_format
