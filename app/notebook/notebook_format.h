// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/notebook/notebook_file.h"
#include "sim/notebook.h"

// The notebook file's text (described in notebook_file.h), line by line: the lines of a row
// recorded and of rows removed, and the entries read back from the file's bytes. No file is
// opened here: TNotebookFile does that.
namespace notebook_format {

inline constexpr std::string_view kFirstLine2 = "simhacheur relevés 2";

// The first 32 hexadecimal digits of `bytes`, in lowercase: an id.
std::string Hex(const QByteArray& bytes);

// "+", the row's fields and its id, as one line; a row without a proper id gets one of its own.
void AppendRecord(QByteArray& text, const TNotebookRow& row);
// "-", the count and the ids, as one line.
void AppendRemoval(QByteArray& text, const std::vector<std::string>& ids);

// What reading the file's bytes found.
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

// The first line: the version, or why the bytes are no notebook.
void ReadHeader(const QByteArray& bytes, TParse* parse);
// How far a long read has come: the share of the text read, from 0 to 1.
using TReadProgress = std::function<void(double)>;
// The lines of `text` from `from` (the start of a line, numbered `lineNumber`). A last line
// without a line feed is taken only with `takeTail` and when it reads; when it does not, it is
// a write cut short. `progress`, when given, hears now and then how far the reading is.
void ReadLines(std::string_view text, std::size_t from, int lineNumber, bool takeTail,
               TParse* parse, const TReadProgress& progress = {});
// The header and every line of a whole file.
TParse ParseWhole(const QByteArray& bytes, const TReadProgress& progress = {});
// The rows live at the end of the entries, in the order they were recorded; a row recorded
// twice counts once.
std::vector<TNotebookRow> LiveRows(std::vector<TNotebookEntry>& entries);

}  // namespace notebook_format
