#include "app/lab/export.h"

#include <QBuffer>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "app/notebook/notebook_model.h"
#include "app/save_file.h"
#include "sim/number_text.h"

namespace {

// Locale-independent digits: a spreadsheet in any language reads ASCII digits, and only the
// decimal mark follows the user's habit. Every number reads back as the value exported.
QString CsvNumber(double value, bool decimalComma) {
  return QString::fromStdString(SpreadsheetText(value, decimalComma ? "," : "."));
}

QString CsvText(const QString& text, QChar separator) {
  if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') &&
      !text.contains(u'\r'))
    return text;
  return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

}  // namespace

QByteArray TracesCsv(const QList<TCsvTrace>& traces, const QLocale& locale) {
  const bool decimalComma = locale.decimalPoint() == QStringLiteral(",");
  const QChar separator = decimalComma ? u';' : u',';

  QString text = QStringLiteral("temps (ms)");
  for (const TCsvTrace& trace : traces)
    text += separator + CsvText(QStringLiteral("%1 (%2)").arg(trace.name, trace.unit), separator);
  text += u'\n';

  const auto size = static_cast<std::size_t>(traces.size());
  std::vector<int> next(size, 0), count(size, 0);
  for (std::size_t i = 0; i < size; ++i) {
    const TCsvTrace& trace = traces[static_cast<qsizetype>(i)];
    if (trace.times != nullptr && trace.values != nullptr) count[i] = std::max(0, trace.count);
  }
  const auto timeOf = [&](std::size_t i) {
    return traces[static_cast<qsizetype>(i)].times[next[i]];
  };
  // A merge of the traces by time: each row takes the earliest pending point, and every trace
  // whose pending point has that same time. The earliest one always moves on, so a time that
  // compares unequal to everything (NaN) still ends the walk.
  for (;;) {
    std::size_t first = size;
    for (std::size_t i = 0; i < size; ++i) {
      if (next[i] < count[i] && (first == size || timeOf(i) < timeOf(first))) first = i;
    }
    if (first == size) break;
    const double time = timeOf(first);
    text += CsvNumber(time, decimalComma);
    for (std::size_t i = 0; i < size; ++i) {
      text += separator;
      if (i == first || (next[i] < count[i] && timeOf(i) == time)) {
        text += CsvNumber(traces[static_cast<qsizetype>(i)].values[next[i]], decimalComma);
        ++next[i];
      }
    }
    text += u'\n';
  }
  return text.toUtf8();
}

TExportResult SaveTracesCsv(const QString& path, const QList<TCsvTrace>& traces,
                            const QLocale& locale) {
  return {SaveFileOrSayWhy(path, TracesCsv(traces, locale))};
}

QByteArray NotebookCsv(const TNotebookModel& model, const QLocale& locale) {
  const bool decimalComma = locale.decimalPoint() == QStringLiteral(",");
  const QChar separator = decimalComma ? u';' : u',';
  QString text;
  for (int column = 0; column < kNotebookColumns; ++column) {
    if (column > 0) text += separator;
    text += CsvText(TNotebookModel::ColumnTitle(static_cast<TNotebookColumn>(column)), separator);
  }
  text += u'\n';
  for (const TNotebookRow& row : model.Rows()) {
    for (int column = 0; column < kNotebookColumns; ++column) {
      const auto c = static_cast<TNotebookColumn>(column);
      if (column > 0) text += separator;
      if (!IsNumericColumn(c)) {
        text += CsvText(QString::fromStdString(TextOf(row, c)), separator);
      } else if (const std::optional<double> value = NumberOf(row, c)) {
        text += CsvNumber(*value, decimalComma);
      }
    }
    text += u'\n';
  }
  return text.toUtf8();
}

TExportResult SaveTableCsv(const QString& path, const TNotebookModel& model,
                           const QLocale& locale) {
  return {SaveFileOrSayWhy(path, NotebookCsv(model, locale))};
}

TExportResult SaveImagePng(const QImage& image, const QString& path) {
  if (image.isNull()) return {CannotWriteMessage(path, QStringLiteral("l'image est vide"))};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    return {CannotWriteMessage(path, QStringLiteral("l'image n'a pas pu être codée en PNG"))};
  return {SaveFileOrSayWhy(path, bytes)};
}

QString DefaultExportFileName(const QString& experimentTag, const QString& extension) {
  QString tag;
  // Compatibility decomposition splits "é" into "e" and its accent, "²" into "2", "ﬁ" into "fi".
  for (const QChar c : experimentTag.normalized(QString::NormalizationForm_KD)) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    if (c.isSpace()) {
      tag += u'_';
    } else if (c == u'%') {
      while (tag.endsWith(u'_'))  // "50 %" → "50pc"
        tag.chop(1);
      tag += QStringLiteral("pc");
    } else if (c == u'œ' || c == u'Œ' || c == u'æ' || c == u'Æ') {
      // Ligatures have no decomposition; "cœur" is spelt "coeur" without one.
      const QString letters = c == u'œ' || c == u'Œ' ? QStringLiteral("oe") : QStringLiteral("ae");
      tag += c.isUpper() ? letters.toUpper() : letters;
    } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'-' || c == u'.' || c == u'_') {
      tag += c;
    } else {
      tag += u'-';  // slashes, colons, quotes and the rest: nothing a file system may refuse
    }
  }
  static const QRegularExpression dashes(QStringLiteral("[_-]*-[_-]*"));
  static const QRegularExpression blanks(QStringLiteral("_+"));
  static const QRegularExpression ends(QStringLiteral("^[._-]+|[._-]+$"));
  tag.replace(dashes, QStringLiteral("-")).replace(blanks, QStringLiteral("_"));
  tag = tag.left(80).remove(ends);  // a leading dot would hide the file

  QString name = QStringLiteral("oscillogramme");
  if (!tag.isEmpty()) name += u'_' + tag;
  QString suffix = extension;
  while (suffix.startsWith(u'.'))
    suffix.remove(0, 1);
  if (!suffix.isEmpty()) name += u'.' + suffix;
  return name;
}
