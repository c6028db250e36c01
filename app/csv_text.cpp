// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/csv_text.h"

#include "sim/number_text.h"

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
