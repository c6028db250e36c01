// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>
#include <QString>
#include <string>
#include <unordered_set>
#include <vector>

#include "sim/notebook.h"

// The notebook's rows as a table: one row per reading, the columns of TNotebookColumn. The rows
// live in one vector and every cell is worked out when asked for, so a view over 100 000 rows
// costs only what it shows.
class TNotebookModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TNotebookModel(QObject* parent = nullptr);

  const std::vector<TNotebookRow>& Rows() const;
  // A row without an id gets a new one. Emits Recorded(), then Changed().
  void Append(const TNotebookRow& row);
  // Row indices in any order; duplicates and indices out of range are ignored. Emits Removed(),
  // then Changed(), when a row went.
  void RemoveRows(const QList<int>& rows);
  void Clear();  // emits Removed() and Changed() when there were rows
  // The rows read back from the file: not a change the user made, so no Changed().
  void SetRows(std::vector<TNotebookRow> rows);
  // What other copies of the program recorded and removed (by id), as read from the file: the
  // rows added go, in their order, before the last `beforeLast` rows (recorded here, not yet in
  // the file, where they will come after them). The table's row signals, but neither Changed()
  // nor Recorded() nor Removed(), which tell the user's own changes.
  void Merge(std::vector<TNotebookRow> added, const std::unordered_set<std::string>& removed,
             std::size_t beforeLast = 0);

  static QString ColumnTitle(TNotebookColumn c);  // "U (V)"
  // The quantity's name in the fit's equation ("U", "n", "I1", "I2", "consigne"); empty for a
  // text column.
  static QString ColumnSymbol(TNotebookColumn c);
  // The selected rows (ascending, header first) as tab-separated text a spreadsheet pastes into
  // cells: numbers in full precision with the locale's decimal mark, ASCII digits, no thousands
  // separator, an empty cell for none; tabs and line breaks inside a text become spaces. Rows
  // out of range and duplicates are left out.
  QString TabSeparated(const QList<int>& rows, const QLocale& locale) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // DisplayRole: numbers as French text (2 decimals for V and A, 0 for tr/min, 1 for %), empty
  // for none; TextAlignmentRole: numbers to the right.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 signals:
  void Changed();
  // The user's changes, each just before its Changed(): the file follows them.
  void Recorded(const TNotebookRow& row);
  void Removed(const std::vector<std::string>& ids);

 private:
  void RemoveSorted(const std::vector<int>& sorted);  // valid indices, ascending, each once

  std::vector<TNotebookRow> rows_;
};
