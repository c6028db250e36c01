// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/lab_window.h"

class QProgressBar;
class TExperimentFilter;
class TNotebookModel;
class TNotebookPlot;
class TNotebookTableActions;

namespace Ui {
class TNotebookWindow;
}

// The notebook ("Relevés") beside the main window: the rows as a table, and the plot of one
// numeric column against another with its least-squares line, warned when the rows plotted
// mix experiments or wirings. Both may show one experiment's rows only; the table's buttons
// then act on those rows alone. Not modal, so the student keeps recording rows while it
// follows every change of the model.
class TNotebookWindow : public TLabWindow {
  Q_OBJECT

 public:
  // `model` must outlive the window.
  explicit TNotebookWindow(TNotebookModel* model, QWidget* parent = nullptr);
  ~TNotebookWindow() override;

  // The CSV file of the rows shown (every row, unless one experiment is chosen), in the user's
  // decimal habit; false (after the error box) when it could not be written. "Exporter…" asks for
  // the path, then calls this.
  bool ExportTo(const QString& path);
  // Projector mode: the table's values half as large again. It opens in the mode last chosen.
  void SetHighContrast(bool on);
  // How far the notebook's file is read, from 0 to 1000: a bar above the rows while it is not
  // all read, and no clearing or removing of rows until it is.
  void ShowLoadProgress(int permille);
  // Why the notebook is not being saved, above the rows for as long as it lasts; empty: saved.
  void ShowSaveProblem(const QString& problem);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceProgress();
  void SetUpTable();
  void SetUpColumnChoices();
  void SetUpExperimentChoice();
  void ConnectButtons();
  void ConnectModel();
  void RowsShown(int first, int last);
  void RowsInserted(int first, int last);
  // The experiments present in the model's rows `first` onwards join the choice; with `all`,
  // the choice is rebuilt from every row. True when the experiment chosen is gone, and the
  // table and plot fell back to every row.
  bool UpdateExperimentChoice(int first, bool all);
  void ChooseExperiment();

  // What the plot lacks of the model: nothing, rows recorded after those plotted, or more.
  enum class TStale { kNone, kAppended, kAll };
  // The model's signals come one run of rows at a time, so they only mark the plot out of
  // date; Changed() (or, failing it, the next turn of the event loop) brings it up to date once.
  void MarkStale(TStale stale);
  void Refresh();
  void SizeColumns(const std::vector<int>& rows, bool shrink);
  void SizeColumnsToSample();
  void UpdateButtons();

  std::unique_ptr<Ui::TNotebookWindow> ui_;
  TNotebookModel* model_;
  TExperimentFilter* filter_;  // between the model and the table
  std::unique_ptr<TNotebookPlot> plot_;
  std::unique_ptr<TNotebookTableActions> actions_;
  TStale stale_ = TStale::kNone;
  int plottedRows_ = 0;                // the model's rows the points were taken from
  std::set<std::string> experiments_;  // present in the rows, as the choice lists them
  QProgressBar* progress_ = nullptr;   // over the rows while the file is read
  bool loading_ = false;
};
