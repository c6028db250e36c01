// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include "app/csv_text.h"

class TNotebookModel;

// The notebook's rows as CSV, under the same rules as the traces: a heading row of the column
// titles, then one line per row in the notebook's order; numbers with the locale's separator and
// decimal mark and the same digits as the traces, an empty cell where a reading is missing; a text
// that holds the separator, a quote or a line break is quoted.
QByteArray NotebookCsv(const TNotebookModel& model, const QLocale& locale);
[[nodiscard]] TExportResult SaveTableCsv(const QString& path, const TNotebookModel& model,
                                         const QLocale& locale);
