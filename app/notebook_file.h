#pragma once

#include <QString>
#include <vector>

#include "sim/notebook.h"

// The notebook on disk. Nothing the class does loses a reading: a save replaces the file only
// once the new one is whole, and a file it cannot read is put aside under another name before
// the notebook starts empty.
//
// The format is UTF-8 text, every line ending in a line feed: the line "simhacheur relevés 1",
// then one line per row with the fields of TNotebookRow in order, separated by tabs. A number is
// written with a point and as many digits as read back the same double, an empty field when
// there is none. In a text, a backslash, tab, line feed and carriage return are written as a
// backslash followed by a backslash, t, n and r.

struct TNotebookLoad {
  std::vector<TNotebookRow> rows;
  QString message;  // French, for the error box; empty when all went well
};

class TNotebookFile {
 public:
  explicit TNotebookFile(QString path);  // the file; its folder is created when needed
  static QString DefaultPath();          // releves.tsv in the program's data folder

  const QString& Path() const { return path_; }

  // A missing file is an empty notebook, without a message. A damaged or foreign file is renamed
  // "<name>.illisible-<date>-<time>" (never over another file) and the message says where it went.
  TNotebookLoad Load();
  // Writes a temporary file beside the notebook and renames it over it (QSaveFile), so a crash
  // never leaves a half-written file. Returns a French message on failure, empty on success.
  // A failure is reported once: the next ones return an empty message until a save succeeds.
  QString Save(const std::vector<TNotebookRow>& rows);

 private:
  QString path_;
  bool failureReported_ = false;
  // Load found a file it could neither read nor put aside: saving would write over it.
  bool mustNotReplace_ = false;
};
