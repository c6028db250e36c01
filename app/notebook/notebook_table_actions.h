// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QTableView;
class QWidget;
class TExperimentFilter;
class TNotebookModel;

// What the notebook window's buttons do to the rows of its table: remove the rows selected,
// clear the rows shown, copy the rows selected, export the rows shown. With one experiment
// chosen, "shown" means that experiment's rows only.
class TNotebookTableActions {
 public:
  // `table` shows `filter`, which filters `model`; `window` parents the dialogs.
  TNotebookTableActions(QWidget* window, QTableView* table, TNotebookModel* model,
                        TExperimentFilter* filter);

  void RemoveSelectedRows();
  // After asking.
  void ClearShownRows();
  void CopySelectedRows();
  // Asks for the path, then exports.
  void AskExportPath();
  // The CSV file of the rows shown, in the user's decimal habit; false (after the error box)
  // when it could not be written.
  bool ExportTo(const QString& path);

 private:
  // The model's rows selected in the table, ascending.
  QList<int> SelectedRows() const;
  QList<int> ShownRows() const;  // the model's rows the table shows, ascending
  bool Filtered() const;

  QWidget* window_;
  QTableView* table_;
  TNotebookModel* model_;
  TExperimentFilter* filter_;
};
