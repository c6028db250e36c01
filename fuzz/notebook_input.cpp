// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "app/notebook/notebook_file.h"
#include "fuzz/fuzz_inputs.h"

namespace {

// Equal as the file keeps them: bit for bit (the sign of zero counts), any NaN equal to any.
bool SameNumber(const std::optional<double>& a, const std::optional<double>& b) {
  if (a.has_value() != b.has_value()) return false;
  if (!a) return true;
  return std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(*b) ||
         (std::isnan(*a) && std::isnan(*b));
}

bool SameRows(const std::vector<TNotebookRow>& a, const std::vector<TNotebookRow>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].id != b[i].id) return false;
    for (int column = 0; column < kNotebookColumns; ++column) {
      const auto c = static_cast<TNotebookColumn>(column);
      if (IsNumericColumn(c) ? !SameNumber(NumberOf(a[i], c), NumberOf(b[i], c))
                             : TextOf(a[i], c) != TextOf(b[i], c))
        return false;
    }
  }
  return true;
}

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "notebook file: %s\n", what);
  std::abort();
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

void FuzzNotebook(const std::uint8_t* data, std::size_t size) {
  static const QTemporaryDir folder;  // one for the whole run, emptied before each input
  QDir dir(folder.path());
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
    dir.remove(name);
  const QString path = dir.filePath(QStringLiteral("releves.tsv"));
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  {
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "no room to work");
  }
  const TNotebookLoad load = TNotebookFile(path).Load();
  if (!QFileInfo::exists(path)) {
    // Set aside: said, and kept whole under another name.
    Check(load.rows.empty() && !load.message.isEmpty(), "put aside without a word");
    const QStringList aside = dir.entryList({QStringLiteral("releves.tsv.illisible-*")});
    Check(aside.size() == 1 && Contents(dir.filePath(aside.front())) == bytes,
          "what was put aside is not the file");
    return;
  }
  Check(load.message.isEmpty(), "loaded, yet with a message");
  std::set<std::string> ids;
  for (const TNotebookRow& row : load.rows)
    Check(row.id.size() == 32 && ids.insert(row.id).second, "a row without an id of its own");
  // Read again, as the load may have rewritten it: the same rows.
  Check(SameRows(TNotebookFile(path).Load().rows, load.rows), "read again, the rows differ");
  const QString copy = dir.filePath(QStringLiteral("copie.tsv"));
  Check(TNotebookFile(copy).Save(load.rows).isEmpty(), "could not save");
  Check(SameRows(TNotebookFile(copy).Load().rows, load.rows), "saved and read, the rows differ");
}
