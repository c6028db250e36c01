// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

// What every CSV file of the program shares: its cells, and the outcome of writing one.

// What a save said: empty when the file was written, else a French sentence for the error box.
struct TExportResult {
  QString error;  // empty when the file was written
  bool Ok() const { return error.isEmpty(); }
};

// A number for a spreadsheet: ASCII digits, the decimal mark of the user's habit (a comma when
// `decimalComma`), and text that reads back as the same double.
QString CsvNumber(double value, bool decimalComma);

// A text cell, quoted when it holds the separator, a quote or a line break.
QString CsvText(const QString& text, QChar separator);
