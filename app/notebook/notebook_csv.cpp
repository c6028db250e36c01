// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_csv.h"

#include "app/notebook/notebook_model.h"
#include "app/save_file.h"

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
