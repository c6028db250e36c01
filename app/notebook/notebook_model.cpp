// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_model.h"

#include <algorithm>
#include <cmath>

#include "app/notebook/notebook_file.h"
#include "sim/number_text.h"

namespace {

constexpr int kColumnCount = kNotebookColumns;

TNotebookColumn ColumnAt(int column) {
  return static_cast<TNotebookColumn>(column);
}

// Digits shown: what the instruments resolve.
int DecimalsOf(TNotebookColumn c) {
  switch (c) {
    case TNotebookColumn::kSpeed:
      return 0;
    case TNotebookColumn::kSetPoint:
      return 1;
    default:
      return 2;
  }
}

// As French writes it: "1 234,57", thousands apart by a narrow no-break space, halves away from
// zero. -0,004 V reads "0,00", as on the voltmeter; infinity reads "inf" whatever its sign.
QString FrenchNumber(double value, int decimals) {
  if (std::isinf(value)) return QStringLiteral("inf");
  return QString::fromStdString(FixedText(value, decimals, ",", kFixedHalvesAway, "\u202F"));
}

// The shortest text that reads back as the same double: a spreadsheet gets the value recorded,
// not the rounded one shown.
QString FullNumber(double value, const QString& decimalMark) {
  if (!std::isfinite(value)) return {};
  return QString::fromStdString(ShortestText(value, decimalMark.toStdString()));
}

QString CellText(const std::string& text) {
  QString cell = QString::fromStdString(text);
  for (QChar& c : cell)
    if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
  return cell;
}

// Valid indices, ascending, each once.
std::vector<int> SortedRows(const QList<int>& rows, std::size_t size) {
  std::vector<int> sorted;
  for (int row : rows)
    if (row >= 0 && static_cast<std::size_t>(row) < size) sorted.push_back(row);
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  return sorted;
}

}  // namespace

TNotebookModel::TNotebookModel(QObject* parent) : QAbstractTableModel(parent) {}

const std::vector<TNotebookRow>& TNotebookModel::Rows() const {
  return rows_;
}

void TNotebookModel::Append(const TNotebookRow& row) {
  const int at = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), at, at);
  rows_.push_back(row);
  if (rows_.back().id.empty()) rows_.back().id = NewNotebookRowId();
  endInsertRows();
  emit Recorded(rows_.back());
  emit Changed();
}

void TNotebookModel::RemoveRows(const QList<int>& rows) {
  const std::vector<int> sorted = SortedRows(rows, rows_.size());
  if (sorted.empty()) return;
  std::vector<std::string> ids;
  ids.reserve(sorted.size());
  for (int row : sorted)
    ids.push_back(rows_[static_cast<std::size_t>(row)].id);
  RemoveSorted(sorted);
  emit Removed(ids);
  emit Changed();
}

void TNotebookModel::RemoveSorted(const std::vector<int>& sorted) {
  std::vector<std::pair<int, int>> runs;  // [first, last], ascending
  for (int row : sorted) {
    if (!runs.empty() && runs.back().second + 1 == row)
      runs.back().second = row;
    else
      runs.emplace_back(row, row);
  }
  // Each run removed on its own keeps the view's selection and scrolling, but costs a move of
  // the rows behind it: past a few dozen runs, one pass and a reset are cheaper.
  constexpr std::size_t kMaxRuns = 32;
  if (runs.size() <= kMaxRuns) {
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
      beginRemoveRows(QModelIndex(), run->first, run->second);
      rows_.erase(rows_.begin() + run->first, rows_.begin() + run->second + 1);
      endRemoveRows();
    }
  } else {
    beginResetModel();
    std::size_t kept = 0, next = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (next < sorted.size() && static_cast<std::size_t>(sorted[next]) == i) {
        ++next;
        continue;
      }
      if (kept != i) rows_[kept] = std::move(rows_[i]);
      ++kept;
    }
    rows_.resize(kept);
    endResetModel();
  }
}

void TNotebookModel::Clear() {
  if (rows_.empty()) return;
  std::vector<std::string> ids;
  ids.reserve(rows_.size());
  for (const TNotebookRow& row : rows_)
    ids.push_back(row.id);
  beginResetModel();
  rows_.clear();
  endResetModel();
  emit Removed(ids);
  emit Changed();
}

void TNotebookModel::Merge(std::vector<TNotebookRow> added,
                           const std::unordered_set<std::string>& removed, std::size_t beforeLast) {
  if (!removed.empty()) {
    std::vector<int> gone;
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (removed.count(rows_[i].id) != 0) gone.push_back(static_cast<int>(i));
    if (!gone.empty()) RemoveSorted(gone);
  }
  if (added.empty()) return;
  const int at = static_cast<int>(rows_.size() - std::min(beforeLast, rows_.size()));
  beginInsertRows(QModelIndex(), at, at + static_cast<int>(added.size()) - 1);
  rows_.insert(rows_.begin() + at, std::make_move_iterator(added.begin()),
               std::make_move_iterator(added.end()));
  endInsertRows();
}

void TNotebookModel::SetRows(std::vector<TNotebookRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

QString TNotebookModel::ColumnTitle(TNotebookColumn c) {
  switch (c) {
    case TNotebookColumn::kTime:
      return QStringLiteral("Heure");
    case TNotebookColumn::kExperiment:
      return QStringLiteral("Essai");
    case TNotebookColumn::kWiring:
      return QStringLiteral("Branchement");
    case TNotebookColumn::kChopperType:
      return QStringLiteral("Hacheur");
    case TNotebookColumn::kDirection:
      return QStringLiteral("Sens de rotation");
    case TNotebookColumn::kDrivingMachine:
      return QStringLiteral("Machine motrice");
    case TNotebookColumn::kSetPoint:
      return QStringLiteral("Consigne (%)");
    case TNotebookColumn::kVoltage:
      return QStringLiteral("U (V)");
    case TNotebookColumn::kSpeed:
      return QStringLiteral("n (tr/min)");
    case TNotebookColumn::kCurrent1:
      return QStringLiteral("I1 (A)");
    case TNotebookColumn::kCurrent2:
      return QStringLiteral("I2 (A)");
  }
  return {};
}

QString TNotebookModel::ColumnSymbol(TNotebookColumn c) {
  switch (c) {
    case TNotebookColumn::kSetPoint:
      return QStringLiteral("consigne");
    case TNotebookColumn::kVoltage:
      return QStringLiteral("U");
    case TNotebookColumn::kSpeed:
      return QStringLiteral("n");
    case TNotebookColumn::kCurrent1:
      return QStringLiteral("I1");
    case TNotebookColumn::kCurrent2:
      return QStringLiteral("I2");
    default:
      return {};
  }
}

QString TNotebookModel::TabSeparated(const QList<int>& rows, const QLocale& locale) const {
  const QString decimalMark = locale.decimalPoint();
  QString text;
  for (int column = 0; column < kColumnCount; ++column)
    text += (column > 0 ? QStringLiteral("\t") : QString()) + ColumnTitle(ColumnAt(column));
  text += u'\n';
  for (int index : SortedRows(rows, rows_.size())) {
    const TNotebookRow& row = rows_[static_cast<std::size_t>(index)];
    for (int column = 0; column < kColumnCount; ++column) {
      if (column > 0) text += u'\t';
      const TNotebookColumn c = ColumnAt(column);
      if (IsNumericColumn(c)) {
        if (const std::optional<double> value = NumberOf(row, c))
          text += FullNumber(*value, decimalMark);
      } else {
        text += CellText(TextOf(row, c));
      }
    }
    text += u'\n';
  }
  return text;
}

int TNotebookModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TNotebookModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant TNotebookModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount) return {};
  const TNotebookColumn c = ColumnAt(index.column());
  if (role == Qt::TextAlignmentRole)
    return static_cast<int>((IsNumericColumn(c) ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const TNotebookRow& row = rows_[static_cast<std::size_t>(index.row())];
  if (!IsNumericColumn(c)) return QString::fromStdString(TextOf(row, c));
  const std::optional<double> value = NumberOf(row, c);
  return value ? FrenchNumber(*value, DecimalsOf(c)) : QString();
}

QVariant TNotebookModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section < kColumnCount ? ColumnTitle(ColumnAt(section)) : QVariant();
}
