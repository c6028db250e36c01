#include "app/notebook_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

QString FrenchNumber(double value, int decimals) {
  static const QLocale french(QLocale::French);
  QString text = french.toString(value, 'f', decimals);
  // -0,004 V reads "0,00", as on the voltmeter.
  if (text.startsWith(u'-') &&
      std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
    text.remove(0, 1);
  return text;
}

// The shortest text that reads back as the same double: a spreadsheet gets the value recorded,
// not the rounded one shown.
QString FullNumber(double value, const QString& decimalMark) {
  if (!std::isfinite(value)) return {};
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  QString text = QString::fromLatin1(buffer, end - buffer);
  text.replace(u'.', decimalMark);
  return text;
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
  endInsertRows();
  emit Changed();
}

void TNotebookModel::RemoveRows(const QList<int>& rows) {
  const std::vector<int> sorted = SortedRows(rows, rows_.size());
  if (sorted.empty()) return;
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
  emit Changed();
}

void TNotebookModel::Clear() {
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  endResetModel();
  emit Changed();
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
