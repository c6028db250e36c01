// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// A file written whole or not at all: the bytes go into a temporary file beside it (QSaveFile),
// are flushed, and the temporary file is renamed over the file only once every byte is on disk.
// A failure at any step leaves the file that was there as it was, and no temporary file behind.
// Every file the program writes in one go (an export, the notebook when it is rewritten) goes
// through here.

// Where a save stopped.
enum class TSaveFault {
  kNone,
  kCreate,   // no temporary file: a missing or read-only folder, a file in its place...
  kWrite,    // a write or the flush failed: a full disk, a quota
  kReplace,  // every byte written, but the old file could not be replaced
};

struct TSaveOutcome {
  TSaveFault fault = TSaveFault::kNone;
  QString detail;  // Qt's own words for whoever looks after the machine; may be empty
  bool Ok() const { return fault == TSaveFault::kNone; }
};

// Writes `bytes` as the file `path`; the folder must exist.
TSaveOutcome SaveWholeFile(const QString& path, const QByteArray& bytes);

// "«\u202F<path>\u202F»", with the system's separators.
QString QuotedPath(const QString& path);

// "Impossible d'écrire le fichier «\u202F<path>\u202F»\u00A0: <reason>.": an export that failed.
QString CannotWriteMessage(const QString& path, const QString& reason);

// SaveWholeFile, then, when it failed, CannotWriteMessage with the reason in words a teacher can
// act on (a full disk, a read-only folder, a missing one), Qt's own text after it. Empty when
// the file was written.
QString SaveFileOrSayWhy(const QString& path, const QByteArray& bytes);

// Tests stand in for the disk: `writer` takes every save in SaveWholeFile's place (and may
// throw, as a full memory would). Returns the one it replaces; an empty one restores the disk.
using TSaveFileWriter = std::function<TSaveOutcome(const QString& path, const QByteArray& bytes)>;
TSaveFileWriter SetSaveFileWriter(TSaveFileWriter writer);
