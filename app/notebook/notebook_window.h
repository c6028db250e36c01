// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/lab_window_place.h"
#include "sim/notebook.h"

class QModelIndex;
class TChart;
class TChartSeries;
class TFastLineSeries;
class TNotebookModel;
class TExperimentFilter;

namespace Ui {
class TNotebookWindow;
}

// The notebook ("Relevés") beside the main window: the rows as a table, and the plot of one
// numeric column against another with its least-squares line, warned when the rows plotted
// mix experiments or wirings. Both may show one experiment's rows only; the table's buttons
// then act on those rows alone. Not modal, so the student keeps recording rows while it
// follows every change of the model.
class TNotebookWindow : public QDialog {
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

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetUpTable();
  void SetUpPlot();
  void SetUpSeries();
  void SetUpColumnChoices();
  void SetUpExperimentChoice();
  void ConnectModel();
  void RowsShown(int first, int last);
  void RowsInserted(int first, int last);
  // The experiments present in the model's rows `first` onwards join the choice; with `all`,
  // the choice is rebuilt from every row. True when the experiment chosen is gone, and the
  // table and plot fell back to every row.
  bool UpdateExperimentChoice(int first, bool all);
  void ChooseExperiment();
  bool Filtered() const;

  // What the plot lacks of the model: nothing, rows recorded after those plotted, or more.
  enum class TStale { kNone, kAppended, kAll };
  // The model's signals come one run of rows at a time, so they only mark the plot out of
  // date; Changed() (or, failing it, the next turn of the event loop) brings it up to date once.
  void MarkStale(TStale stale);
  void Refresh();
  void RebuildPoints();
  void AddPoints(int first, int end);
  void UpdateFit();
  void ShowEquation(const std::optional<TLineFit>& fit, int interceptDecimals);
  void SizeColumns(const std::vector<int>& rows, bool shrink);
  void SizeColumnsToSample();
  void UpdateButtons();

  // The model's rows selected in the table, ascending.
  QList<int> SelectedRows() const;
  QList<int> ShownRows() const;  // the model's rows the table shows, ascending
  void RemoveSelectedRows();
  void ClearAllRows();
  void CopySelectedRows();
  void AskExportPath();

  std::unique_ptr<Ui::TNotebookWindow> ui_;
  TNotebookModel* model_;
  TExperimentFilter* filter_;  // between the model and the table
  TChart* chart_;
  // Drawing order: the frame (no pixels, it sets the axes' ranges), the markers, then the line,
  // which stays in sight over thousands of markers.
  std::unique_ptr<TChartSeries> frameSeries_;
  std::unique_ptr<TChartSeries> pointSeries_;
  std::unique_ptr<TFastLineSeries> fitSeries_;
  TStale stale_ = TStale::kNone;
  int plottedRows_ = 0;                // the model's rows the points were taken from
  std::vector<double> xs_, ys_;        // the points, as FitLine takes them
  TRowsMix mix_;                       // of the rows plotted
  std::set<std::string> experiments_;  // present in the rows, as the choice lists them
  TLabWindowPlacer placer_{this, QSize(1120, 580)};
};
