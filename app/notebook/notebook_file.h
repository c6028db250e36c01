// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/notebook.h"

class QFile;
class QLockFile;

// The notebook on disk, shared by every copy of the program the user runs (the program started
// twice, or one account on two seats with a network home). Each copy appends what it changes
// instead of writing its own notebook over the others', and reads back what they appended.
// Nothing the class does loses a reading: an append adds whole lines, a rewrite replaces the file
// only once the new one is whole, and a file it cannot read is put aside under another name
// before the notebook starts empty. Every write happens under a lock file beside the notebook
// ("releves.tsv.lock"); a lock left by a copy that died, or one older than any write takes, is
// taken over. Only a copy writing on this computer is waited for, and briefly: the window never
// hangs on a lock another computer left behind.
//
// The format is UTF-8 text, one line per entry, each ending in a line feed. The first line is
// "simhacheur relevés 2", a tab and the file's generation (32 hexadecimal digits, new at every
// rewrite, so that a copy sees when another one has replaced the file). Then, in the order
// things happened:
//   "+", a tab, the fields of TNotebookRow in order separated by tabs, a tab and the row's id:
//   a row recorded;
//   "-", a tab, a count, then as many ids, each after a tab: rows removed.
// Ids are 32 lowercase hexadecimal digits; coming last with a fixed length, they keep a line
// cut short by a crash from reading as a row. A number is written with a point and as many
// digits as read back the same double, an empty field when there is none. In a text, a
// backslash, tab, line feed and carriage return are written as a backslash followed by a
// backslash, t, n and r.
//
// Files of version 1 ("simhacheur relevés 1", then one line per row: its fields, no "+" and no
// id) still load; each row gets an id made from its content and line number, so copies that
// upgrade the same file agree on them, and the file is rewritten in version 2 under the lock.
// What editors leave is accepted: a byte-order mark, carriage returns before the line feeds, a
// last line without its line feed. A last line that has no line feed and does not read is a
// write cut short: it is ignored, and the next append removes it.

// A new row's id: 128 random bits.
std::string NewNotebookRowId();

struct TNotebookLoad {
  std::vector<TNotebookRow> rows;
  QString message;  // French, for the error box; empty when all went well
};

// One line of the file: a recorded row, or the ids of rows removed.
struct TNotebookEntry {
  TNotebookRow row;                  // when `removed` is empty
  std::vector<std::string> removed;  // ids
};

// What the file holds that this copy has not read yet.
struct TNotebookNews {
  enum class TKind {
    kAppended,  // `entries` were added after what was read before (often none)
    kReplaced,  // another copy rewrote the file: `rows` is all it holds now
    kGone       // the file is missing or was put aside: nothing of it holds any more
  };
  TKind kind = TKind::kAppended;
  std::vector<TNotebookEntry> entries;
  std::vector<TNotebookRow> rows;
  QString message;  // why the file was put aside; empty otherwise
};

class TNotebookFile {
 public:
  // Beyond these a file would take seconds and hundreds of megabytes to load: it is put aside,
  // whole, and the notebook starts empty.
  static constexpr std::size_t kMaxLoadRows = 400'000;
  static constexpr qint64 kMaxLoadBytes = qint64(256) << 20;

  explicit TNotebookFile(QString path);  // the file; its folder is created when needed
  ~TNotebookFile();
  static QString DefaultPath();  // releves.tsv in the program's data folder

  const QString& Path() const { return path_; }

  // The rows the file holds, in the order they were recorded. A missing file is an empty
  // notebook, without a message. A file that is not a notebook, or one too large, is renamed
  // "<name>.illisible-<date>-<time>" (never over another file) and the message says where it
  // went; something that is not a plain file (a folder, a named pipe) is left alone, never
  // waited on, and nothing is written in its place. A version 1 file, or one that holds more
  // removed rows than live ones, is rewritten when the lock can be had at once. `progress`,
  // when given, hears now and then the share of the file read, from 0 to 1, from this thread.
  TNotebookLoad Load(const std::function<void(double)>& progress = {});

  // What other copies wrote since the last Load, ReadNew or write. Never blocks. With
  // `locked`, the caller holds the lock (no write can be under way): a last line without its
  // line feed is then taken when it reads and removed by the next Append when it does not.
  TNotebookNews ReadNew(bool locked);

  // The lock every writer takes. False, with a message the first time, when it cannot be had:
  // which copy holds it and on which computer, or what is wrong with the lock file.
  bool Lock(QString* message);
  void Unlock();
  // Why the last write failed, each time, to follow "Les relevés n'ont pas pu être enregistrés
  // dans … : "; empty once a write succeeded.
  const QString& Problem() const { return problem_; }

  // Under the lock, right after ReadNew(true): one line removing `removed` (when not empty),
  // then one line per row. False, with a message the first time, when they could not be
  // written; the file is then as it was.
  bool Append(const std::vector<std::string>& removed, const std::vector<TNotebookRow>& rows,
              QString* message);
  // Under the lock: the file replaced by one holding `rows` only, through a temporary file
  // renamed over it (QSaveFile), so a crash never leaves a half-written file.
  bool Rewrite(const std::vector<TNotebookRow>& rows, QString* message);

  // Appending is impossible: no file yet, one of version 1, or one put aside. Rewrite instead.
  bool NeedsRewrite() const { return version_ != 2; }
  // True when, once `newLines` more lines are written, the lines that hold no live row
  // (removed rows, removals, repeats) would outnumber the `liveRows`: time to rewrite.
  bool CompactionDue(std::size_t liveRows, std::size_t newLines) const;

  // Replaces the notebook with `rows` (lock, rewrite, unlock). Returns a French message on
  // failure, empty on success. A failure is reported once: the next ones return an empty
  // message until a write succeeds.
  QString Save(const std::vector<TNotebookRow>& rows);

 private:
  void Forget();  // as if the file had never been read
  QString Failure(const QString& why);
  // Why the lock could not be had: who holds it, or what the lock file is.
  QString LockTrouble() const;
  QString SetAsideMessage(const QString& why);
  enum class TOpened { kOk, kMissing, kNotRegular, kFailed };
  // Opens `path` for reading, or for appending (reading too, to see its last byte). Never
  // waits: a named pipe or a device in the file's place is refused as soon as it is seen, and
  // what is checked is what was opened, not a name that may have changed in between.
  static TOpened OpenRegular(QFile& file, const QString& path, bool append, QString* error);
  bool ReadBytes(QByteArray* bytes, QString* message);
  TNotebookNews ReadWhole(const std::function<void(double)>& progress = {});
  // Append's two steps; false, with the message, when the file could not be written.
  bool OpenToAppend(QFile& file, qint64 bytes, QString* message);
  bool WriteAtEnd(QFile& file, QByteArray bytes, QString* message);

  QString path_;
  std::unique_ptr<QLockFile> lock_;
  bool failureReported_ = false;
  QString problem_;
  // Load found a file it could neither read nor put aside: writing would replace it.
  bool mustNotReplace_ = false;
  // What this copy has read of the file.
  int version_ = 0;               // 0: none read (or it went)
  QByteArray header_;             // its first line as read, line feed included when there is one
  qint64 offset_ = 0;             // bytes read, up to the end of the last line taken
  std::size_t lines_ = 0;         // lines after the first one, live or not
  bool missingLineFeed_ = false;  // the last line taken has no line feed yet
  bool tornTail_ = false;         // bytes after offset_ are a line cut short
};
