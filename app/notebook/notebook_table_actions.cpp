// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_table_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>
#include <QSettings>
#include <QTableView>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/confirmation_box.h"
#include "app/dialogs/error_box.h"
#include "app/notebook/experiment_filter.h"
#include "app/notebook/notebook_csv.h"
#include "app/notebook/notebook_model.h"
#include "app/save_folder.h"

namespace {

const QString kFolderKey = QStringLiteral("fichiers/dossier");

// « text »
QString Quoted(const std::string& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(QString::fromStdString(text));
}

}  // namespace

TNotebookTableActions::TNotebookTableActions(QWidget* window, QTableView* table,
                                             TNotebookModel* model, TExperimentFilter* filter)
    : window_(window), table_(table), model_(model), filter_(filter) {}

QList<int> TNotebookTableActions::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows())
    rows.append(filter_->mapToSource(index).row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

QList<int> TNotebookTableActions::ShownRows() const {
  QList<int> rows;
  const int count = filter_->rowCount();
  rows.reserve(count);
  for (int row = 0; row < count; ++row)
    rows.append(filter_->mapToSource(filter_->index(row, 0)).row());
  return rows;
}

bool TNotebookTableActions::Filtered() const {
  return !filter_->Experiment().empty();
}

void TNotebookTableActions::RemoveSelectedRows() {
  const QModelIndexList selected = table_->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  int first = filter_->rowCount();
  for (const QModelIndex& index : selected)
    first = std::min(first, index.row());
  const std::string experiment = filter_->Experiment();
  model_->RemoveRows(SelectedRows());
  // Delete pressed again removes the row that took the place of the first one removed; not
  // when the experiment's last rows went and the table fell back to every row.
  if (filter_->Experiment() != experiment) return;
  const int next = std::min(first, filter_->rowCount() - 1);
  if (next >= 0) {
    table_->setCurrentIndex(filter_->index(next, 0));
    table_->selectRow(next);
  }
}

// Every row, or with one experiment chosen, that experiment's rows only.
void TNotebookTableActions::ClearShownRows() {
  const int count = filter_->rowCount();
  if (count == 0) return;
  const QString french = QLocale(QLocale::French).toString(count);
  if (!Filtered()) {
    const QString question =
        count == 1 ? QStringLiteral("Effacer le relevé du tableau\u202F? Il sera perdu.")
                   : QStringLiteral("Effacer les %1 relevés du tableau\u202F? Ils seront perdus.")
                         .arg(french);
    if (AskConfirmation(question)) model_->Clear();
    return;
  }
  const QString experiment = Quoted(filter_->Experiment());
  const QString question = count == 1
                               ? QStringLiteral(
                                     "Effacer le relevé %1 du tableau\u202F? Il sera perdu. Les "
                                     "relevés des autres expériences sont gardés.")
                                     .arg(experiment)
                               : QStringLiteral(
                                     "Effacer les %1 relevés %2 du tableau\u202F? Ils seront "
                                     "perdus. Les relevés des autres expériences sont gardés.")
                                     .arg(french, experiment);
  if (AskConfirmation(question)) model_->RemoveRows(ShownRows());
}

void TNotebookTableActions::CopySelectedRows() {
  const QList<int> rows = SelectedRows();
  if (rows.isEmpty()) return;
  QApplication::clipboard()->setText(model_->TabSeparated(rows, QLocale::system()));
}

void TNotebookTableActions::AskExportPath() {
  const QString folder = ProposedSaveFolder(kFolderKey);
  // The dialog asks before replacing an existing file.
  const QString path = AskSaveFileName(window_, QStringLiteral("Exporter les relevés"),
                                       QDir(folder).filePath(QStringLiteral("releves.csv")),
                                       QStringLiteral("Fichiers CSV (*.csv)"));
  if (path.isEmpty()) return;
  QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
  ExportTo(path);
}

bool TNotebookTableActions::ExportTo(const QString& path) {
  TNotebookModel shown;
  if (Filtered()) {
    std::vector<TNotebookRow> rows;
    for (const TNotebookRow& row : model_->Rows())
      if (filter_->Shows(row)) rows.push_back(row);
    shown.SetRows(std::move(rows));
  }
  const TExportResult result = SaveTableCsv(path, Filtered() ? shown : *model_, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}
