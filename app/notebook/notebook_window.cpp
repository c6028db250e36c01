// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLocale>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "app/dialogs/confirmation_box.h"
#include "app/dialogs/error_box.h"
#include "app/guarded.h"
#include "app/notebook/fit_equation.h"
#include "app/notebook/notebook_csv.h"
#include "app/notebook/notebook_model.h"
#include "app/projector_mode.h"
#include "app/save_folder.h"
#include "chart/chart.h"

#include "ui_notebook_window.h"

// ---------------------------------------------------------------------------------------------
// The plot's series

namespace {

constexpr TColor kMarkerColour = clNavy;
constexpr TColor kLineColour = clRed;
// A marker is a bold upright cross, 11 pixels across with arms 3 pixels thick: it stands out
// from the dotted grid and from the line drawn over it, even on a projector.
constexpr int kArm = 5;        // pixels from a marker's centre to the tip of each arm
constexpr int kHalfWidth = 1;  // rows (columns) of an arm on each side of the centre's

// A margin of 5 % each side, and a width of its own for a range of one value.
std::pair<double, double> Padded(double low, double high) {
  const double span = high - low;
  const double pad = span > 0 ? 0.05 * span : (low != 0 ? 0.1 * std::abs(low) : 1.0);
  return {low - pad, high + pad};
}

// The decimals worth writing of a quantity between `low` and `high`: down to four digits below
// its largest magnitude (a tenth for 3000 tr/min, a ten-thousandth for 7 V).
int DecimalsFor(double low, double high) {
  const double largest = std::max(std::abs(low), std::abs(high));
  if (largest == 0) return 3;
  return std::clamp(4 - static_cast<int>(std::floor(std::log10(largest))), 0, 15);
}

TNotebookColumn ColumnIn(const QComboBox* box) {
  return static_cast<TNotebookColumn>(box->currentData().toInt());
}

// Columns are sized from this many rows at each end of the table, never from all of them.
constexpr int kSampleRows = 32;

const QString kFolderKey = QStringLiteral("fichiers/dossier");
const QString kAllRows = QStringLiteral("Tous les relevés");

// « text »
QString Quoted(const std::string& text) {
  return QStringLiteral("«\u202F%1\u202F»").arg(QString::fromStdString(text));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// One experiment's rows

// The model's rows of one experiment, or all of them, in their order. The table only ever sees
// the rows through this filter, so an index in the table is never one of the model.
class TExperimentFilter : public QSortFilterProxyModel {
 public:
  TExperimentFilter(TNotebookModel* model, QObject* parent)
      : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(model);
  }

  const std::string& Experiment() const { return experiment_; }
  // "" for every row.
  void SetExperiment(const std::string& experiment) {
    if (experiment == experiment_) return;
    experiment_ = experiment;
    // Mapped again from scratch on the next look: one pass, where a filter changed in place
    // would move the table's rows one run at a time.
    invalidate();
  }
  bool Shows(const TNotebookRow& row) const {
    return experiment_.empty() || row.experiment == experiment_;
  }

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex&) const override {
    return Shows(model_->Rows()[static_cast<std::size_t>(sourceRow)]);
  }

 private:
  const TNotebookModel* model_;
  std::string experiment_;
};

// ---------------------------------------------------------------------------------------------
// The window

TNotebookWindow::TNotebookWindow(TNotebookModel* model, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TNotebookWindow>()),
      model_(model),
      filter_(new TExperimentFilter(model, this)) {
  ui_->setupUi(this);
  // Resizable, unlike the other dialogs: the table and the plot both want room. A tool window:
  // kept above the main window, and put away with its close box alone, where a dialog minimised
  // would take the main window along on some desktops.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  chart_ = ui_->NotebookChart;
  SetUpTable();
  SetUpPlot();
  SetUpColumnChoices();
  SetUpExperimentChoice();
  ConnectModel();
  ConnectGuarded(ui_->RemoveButton, &QPushButton::clicked, this,
                 &TNotebookWindow::RemoveSelectedRows);
  ConnectGuarded(ui_->ClearButton, &QPushButton::clicked, this, &TNotebookWindow::ClearAllRows);
  ConnectGuarded(ui_->CopyButton, &QPushButton::clicked, this, &TNotebookWindow::CopySelectedRows);
  ConnectGuarded(ui_->ExportButton, &QPushButton::clicked, this, &TNotebookWindow::AskExportPath);
  ConnectGuarded(ui_->DezoomButton, &QPushButton::clicked, chart_, [this] { chart_->ResetZoom(); });
  ui_->Splitter->setSizes({620, 500});
  if (TProjectorMode::Saved()) SetHighContrast(true);
  SizeColumnsToSample();
  stale_ = TStale::kAll;
  Refresh();
}

TNotebookWindow::~TNotebookWindow() = default;

void TNotebookWindow::SetHighContrast(bool on) {
  QTableView* table = ui_->RowsTable;
  SetProjectorText(table, on);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  SizeColumnsToSample();
}

// Beside the plot and the instruments, not over them, each time it opens.
void TNotebookWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) placer_.Showing();
  QDialog::showEvent(event);
}

void TNotebookWindow::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  placer_.Changed();
}

void TNotebookWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placer_.Changed();
}

void TNotebookWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) placer_.StateChanged();
}

void TNotebookWindow::SetUpTable() {
  QTableView* table = ui_->RowsTable;
  table->setModel(filter_);
  // Fixed row heights: the view then never measures a row to place the others.
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setHighlightSections(false);
  // The readings first, in view without scrolling; the file keeps its order.
  QHeaderView* header = table->horizontalHeader();
  int first = 0;
  for (int column = 0; column < kNotebookColumns; ++column) {
    if (IsNumericColumn(static_cast<TNotebookColumn>(column)))
      header->moveSection(header->visualIndex(column), first++);
  }
  ConnectGuarded(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                 &TNotebookWindow::UpdateButtons);
  // Delete and Ctrl+C act on the table's rows only while the table has the focus.
  auto* remove = new QShortcut(QKeySequence::Delete, table);
  remove->setContext(Qt::WidgetShortcut);
  ConnectGuarded(remove, &QShortcut::activated, this, &TNotebookWindow::RemoveSelectedRows);
  auto* copy = new QShortcut(QKeySequence::Copy, table);
  copy->setContext(Qt::WidgetShortcut);
  ConnectGuarded(copy, &QShortcut::activated, this, &TNotebookWindow::CopySelectedRows);
}

void TNotebookWindow::SetUpPlot() {
  TChart& chart = *chart_;
  chart.BeginLoading();
  chart.setCursor(Qt::CrossCursor);
  chart.SetColor(clWhite);
  chart.BackWall.Brush.SetColor(clWhite);
  chart.BackWall.Brush.SetStyle(bsClear);
  chart.SetMarginTop(3);
  chart.SetMarginRight(4);
  chart.Title.SetVisible(true);
  chart.Title.SetFont({QStringLiteral("Arial"), 9, clBlack, true});
  chart.Legend.SetVisible(false);
  chart.SetView3D(false);
  chart.SetView3DWalls(false);
  // The scales read like the table and the equation beside them, whatever the desktop's habit.
  chart.LabelDecimalSeparator = QStringLiteral(",");
  chart.LabelThousandSeparator = QStringLiteral("\u202F");
  chart.EndLoading();
  SetUpSeries();
}

void TNotebookWindow::SetUpSeries() {
  // The frame's two corners hold the data's range with a margin: the axes stay automatic (so
  // the chart's own zoom undoes to them) yet leave the markers clear of the frame, and a range
  // of one value still spreads over the plot. A plain series draws nothing.
  frameSeries_ = std::make_unique<TChartSeries>();
  frameSeries_->setObjectName(QStringLiteral("FrameSeries"));
  fitSeries_ = std::make_unique<TFastLineSeries>();
  fitSeries_->setObjectName(QStringLiteral("FitSeries"));
  fitSeries_->SetSeriesColor(kLineColour);
  fitSeries_->LinePen().SetWidth(2);
  auto markers = std::make_unique<TCrossSeries>();
  markers->SetArmLength(kArm);
  markers->SetArmHalfWidth(kHalfWidth);
  pointSeries_ = std::move(markers);
  pointSeries_->setObjectName(QStringLiteral("PointSeries"));
  // Markers need no order: unsorted, a recorded row is one more value at the end instead of an
  // insertion, and a rebuild needs no sort. Each paint visits every point, culled by pixel.
  pointSeries_->XValues().SetOrder(loNone);
  pointSeries_->SetSeriesColor(kMarkerColour);
  for (TChartSeries* series :
       {frameSeries_.get(), pointSeries_.get(), static_cast<TChartSeries*>(fitSeries_.get())})
    series->SetParentChart(chart_);
}

void TNotebookWindow::SetUpColumnChoices() {
  for (QComboBox* box : {ui_->XColumnBox, ui_->YColumnBox}) {
    const QSignalBlocker blocker(box);
    for (int column = 0; column < kNotebookColumns; ++column) {
      const auto c = static_cast<TNotebookColumn>(column);
      if (IsNumericColumn(c)) box->addItem(TNotebookModel::ColumnTitle(c), column);
    }
  }
  ui_->XColumnBox->setCurrentIndex(
      ui_->XColumnBox->findData(static_cast<int>(TNotebookColumn::kVoltage)));
  ui_->YColumnBox->setCurrentIndex(
      ui_->YColumnBox->findData(static_cast<int>(TNotebookColumn::kSpeed)));
  for (QComboBox* box : {ui_->XColumnBox, ui_->YColumnBox}) {
    ConnectGuarded(box, &QComboBox::currentIndexChanged, this, [this] {
      // A zoom into one pair of quantities means nothing for another.
      chart_->ResetZoom();
      MarkStale(TStale::kAll);
      Refresh();
    });
  }
}

void TNotebookWindow::SetUpExperimentChoice() {
  {
    const QSignalBlocker blocker(ui_->ExperimentBox);
    ui_->ExperimentBox->addItem(kAllRows, QString());
  }
  ConnectGuarded(ui_->ExperimentBox, &QComboBox::currentIndexChanged, this,
                 &TNotebookWindow::ChooseExperiment);
}

void TNotebookWindow::ConnectModel() {
  QTableView* table = ui_->RowsTable;
  // A row recorded while the last one was in view scrolls into view in turn. The filter has
  // followed the model by the time these run: it was connected to it first.
  auto atBottom = std::make_shared<bool>(false);
  ConnectGuarded(filter_, &QAbstractItemModel::rowsAboutToBeInserted, this, [table, atBottom] {
    const QScrollBar* bar = table->verticalScrollBar();
    *atBottom = bar->value() == bar->maximum();
  });
  ConnectGuarded(filter_, &QAbstractItemModel::rowsInserted, this,
                 [this, table, atBottom](const QModelIndex&, int first, int last) {
                   RowsShown(first, last);
                   if (*atBottom) table->scrollToBottom();
                 });
  ConnectGuarded(model_, &QAbstractItemModel::rowsInserted, this,
                 [this](const QModelIndex&, int first, int last) { RowsInserted(first, last); });
  const auto all = [this] { MarkStale(TStale::kAll); };
  ConnectGuarded(model_, &QAbstractItemModel::rowsRemoved, this, all);
  ConnectGuarded(model_, &QAbstractItemModel::dataChanged, this, all);
  ConnectGuarded(model_, &QAbstractItemModel::layoutChanged, this, all);
  ConnectGuarded(model_, &QAbstractItemModel::modelReset, this, [this] {
    SizeColumnsToSample();
    MarkStale(TStale::kAll);
    Refresh();
  });
  ConnectGuarded(model_, &TNotebookModel::Changed, this, &TNotebookWindow::Refresh);
}

// Rows first .. last of the table are new.
void TNotebookWindow::RowsShown(int first, int last) {
  std::vector<int> rows;
  for (int row = first; row <= std::min(last, first + kSampleRows - 1); ++row)
    rows.push_back(row);
  SizeColumns(rows, false);
}

// Rows first .. last of the model are new.
void TNotebookWindow::RowsInserted(int first, int last) {
  // Rows added after those plotted only add points; anything else redraws them all.
  const bool atEnd = last == model_->rowCount() - 1;
  MarkStale(atEnd && (stale_ != TStale::kNone || first == plottedRows_) ? TStale::kAppended
                                                                        : TStale::kAll);
}

// ---------------------------------------------------------------------------------------------
// Following the model

void TNotebookWindow::MarkStale(TStale stale) {
  // Changed() normally follows at once; a change that brings none is caught here.
  if (stale_ == TStale::kNone)
    QMetaObject::invokeMethod(
        this, [this] { Guarded([this] { Refresh(); }); }, Qt::QueuedConnection);
  stale_ = std::max(stale_, stale);
}

void TNotebookWindow::Refresh() {
  if (stale_ == TStale::kNone) return;
  if (UpdateExperimentChoice(stale_ == TStale::kAppended ? plottedRows_ : 0,
                             stale_ == TStale::kAll))
    stale_ = TStale::kAll;
  if (stale_ == TStale::kAppended)
    AddPoints(plottedRows_, model_->rowCount());
  else
    RebuildPoints();
  stale_ = TStale::kNone;
  UpdateFit();
  UpdateButtons();
}

void TNotebookWindow::RebuildPoints() {
  pointSeries_->ClearPoints();
  xs_.clear();
  ys_.clear();
  mix_ = {};
  AddPoints(0, model_->rowCount());
}

// Rows first .. end - 1 shown that have both quantities become points.
void TNotebookWindow::AddPoints(int first, int end) {
  const TNotebookColumn xColumn = ColumnIn(ui_->XColumnBox);
  const TNotebookColumn yColumn = ColumnIn(ui_->YColumnBox);
  const std::vector<TNotebookRow>& rows = model_->Rows();
  for (int i = first; i < end; ++i) {
    const TNotebookRow& row = rows[static_cast<std::size_t>(i)];
    if (!filter_->Shows(row)) continue;
    const std::optional<double> x = NumberOf(row, xColumn), y = NumberOf(row, yColumn);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) continue;
    xs_.push_back(*x);
    ys_.push_back(*y);
    mix_.Add(row);
    pointSeries_->AppendPoint(*x, *y);
  }
  plottedRows_ = end;
}

// The fitted line across the points' X range, the frame around both, then the equation.
void TNotebookWindow::UpdateFit() {
  const std::optional<TLineFit> fit = FitLine(xs_, ys_);
  fitSeries_->ClearPoints();
  frameSeries_->ClearPoints();
  // The series' own bounds: computed once per change, and read again by the axes at the paint.
  const TChartSeries& points = *pointSeries_;
  const double yLow = xs_.empty() ? 0 : points.MinimumY();
  const double yHigh = xs_.empty() ? 0 : points.MaximumY();
  if (!xs_.empty()) {
    const double xLow = points.MinimumX(), xHigh = points.MaximumX();
    double low = yLow, high = yHigh;
    if (fit) {
      const double atLow = fit->slope * xLow + fit->intercept;
      const double atHigh = fit->slope * xHigh + fit->intercept;
      fitSeries_->AppendPoint(xLow, atLow);
      fitSeries_->AppendPoint(xHigh, atHigh);
      low = std::min({low, atLow, atHigh});
      high = std::max({high, atLow, atHigh});
    }
    const auto [left, right] = Padded(xLow, xHigh);
    const auto [bottom, top] = Padded(low, high);
    frameSeries_->AppendPoint(left, bottom);
    frameSeries_->AppendPoint(right, top);
  }
  ShowEquation(fit, DecimalsFor(yLow, yHigh));
}

// The plot's title, the equation under it with what the rows mix, and both for screen readers.
void TNotebookWindow::ShowEquation(const std::optional<TLineFit>& fit, int interceptDecimals) {
  const TNotebookColumn xColumn = ColumnIn(ui_->XColumnBox);
  const TNotebookColumn yColumn = ColumnIn(ui_->YColumnBox);
  chart_->Title.SetText(
      QStringLiteral("%1 en fonction de %2")
          .arg(TNotebookModel::ColumnTitle(yColumn), TNotebookModel::ColumnTitle(xColumn)));
  const QString equation =
      FitEquationText(fit, TNotebookModel::ColumnSymbol(xColumn),
                      TNotebookModel::ColumnSymbol(yColumn), interceptDecimals);
  ui_->FitLabel->setText(equation);
  ui_->FitLabel->setAccessibleName(QStringLiteral("Droite d'ajustement\u00A0: ") + equation);
  const QString warning = MixWarningText(mix_);
  ui_->MixLabel->setText(warning);
  ui_->MixLabel->setVisible(!warning.isEmpty());
  chart_->setAccessibleDescription(
      QStringLiteral("%1, %2 %3")
          .arg(chart_->Title.Text())
          .arg(xs_.size())
          .arg(xs_.size() > 1 ? QStringLiteral("points") : QStringLiteral("point")));
}

// The columns as wide as the cells of `rows` ask, and their titles; with `shrink`, narrower
// too. Only samples of rows are measured: every row would cost seconds at 100 000 rows.
void TNotebookWindow::SizeColumns(const std::vector<int>& rows, bool shrink) {
  QTableView* table = ui_->RowsTable;
  QHeaderView* header = table->horizontalHeader();
  const int grid = table->showGrid() ? 1 : 0;  // the grid line takes a pixel off each cell
  for (int column = 0; column < kNotebookColumns; ++column) {
    int width = shrink ? header->sectionSizeHint(column) : header->sectionSize(column);
    for (int row : rows)
      width = std::max(width, table->sizeHintForIndex(filter_->index(row, column)).width() + grid);
    if (width != header->sectionSize(column)) header->resizeSection(column, width);
  }
}

void TNotebookWindow::SizeColumnsToSample() {
  const int count = filter_->rowCount();
  std::vector<int> rows;
  rows.reserve(2 * static_cast<std::size_t>(kSampleRows));
  for (int row = 0; row < std::min(count, kSampleRows); ++row)
    rows.push_back(row);
  for (int row = std::max(kSampleRows, count - kSampleRows); row < count; ++row)
    rows.push_back(row);
  SizeColumns(rows, true);
}

void TNotebookWindow::UpdateButtons() {
  const bool selected = ui_->RowsTable->selectionModel()->hasSelection();
  const bool any = filter_->rowCount() > 0;
  ui_->RemoveButton->setEnabled(selected);
  ui_->CopyButton->setEnabled(selected);
  ui_->ClearButton->setEnabled(any);
  ui_->ExportButton->setEnabled(any);
}

// ---------------------------------------------------------------------------------------------
// One experiment's rows

bool TNotebookWindow::UpdateExperimentChoice(int first, bool all) {
  std::set<std::string> present = all ? std::set<std::string>() : experiments_;
  const std::vector<TNotebookRow>& rows = model_->Rows();
  for (std::size_t i = static_cast<std::size_t>(first); i < rows.size(); ++i)
    if (!rows[i].experiment.empty()) present.insert(rows[i].experiment);
  if (present == experiments_) return false;
  experiments_ = std::move(present);
  QComboBox* box = ui_->ExperimentBox;
  {
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItem(kAllRows, QString());
    for (const std::string& experiment : experiments_) {
      const QString name = QString::fromStdString(experiment);
      box->addItem(name, name);
    }
    const int chosen = box->findData(QString::fromStdString(filter_->Experiment()));
    box->setCurrentIndex(std::max(chosen, 0));
    if (chosen >= 0) return false;
  }
  // The experiment's rows are all gone: every row again, rather than an empty table.
  filter_->SetExperiment({});
  chart_->ResetZoom();
  SizeColumnsToSample();
  return true;
}

void TNotebookWindow::ChooseExperiment() {
  filter_->SetExperiment(ui_->ExperimentBox->currentData().toString().toStdString());
  // A zoom into one experiment's points means nothing for another's.
  chart_->ResetZoom();
  SizeColumnsToSample();
  MarkStale(TStale::kAll);
  Refresh();
}

// ---------------------------------------------------------------------------------------------
// The buttons

QList<int> TNotebookWindow::SelectedRows() const {
  QList<int> rows;
  for (const QModelIndex& index : ui_->RowsTable->selectionModel()->selectedRows())
    rows.append(filter_->mapToSource(index).row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

QList<int> TNotebookWindow::ShownRows() const {
  QList<int> rows;
  const int count = filter_->rowCount();
  rows.reserve(count);
  for (int row = 0; row < count; ++row)
    rows.append(filter_->mapToSource(filter_->index(row, 0)).row());
  return rows;
}

bool TNotebookWindow::Filtered() const {
  return !filter_->Experiment().empty();
}

void TNotebookWindow::RemoveSelectedRows() {
  const QModelIndexList selected = ui_->RowsTable->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  int first = filter_->rowCount();
  for (const QModelIndex& index : selected)
    first = std::min(first, index.row());
  const std::string experiment = filter_->Experiment();
  model_->RemoveRows(SelectedRows());
  // Delete pressed again removes the row that took the place of the first one removed; not
  // when the experiment's last rows went and the table fell back to every row.
  if (filter_->Experiment() != experiment) return;
  QTableView* table = ui_->RowsTable;
  const int next = std::min(first, filter_->rowCount() - 1);
  if (next >= 0) {
    table->setCurrentIndex(filter_->index(next, 0));
    table->selectRow(next);
  }
}

// Every row, or with one experiment chosen, that experiment's rows only.
void TNotebookWindow::ClearAllRows() {
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

void TNotebookWindow::CopySelectedRows() {
  const QList<int> rows = SelectedRows();
  if (rows.isEmpty()) return;
  QApplication::clipboard()->setText(model_->TabSeparated(rows, QLocale::system()));
}

void TNotebookWindow::AskExportPath() {
  const QString folder = ProposedSaveFolder(kFolderKey);
  // The dialog asks before replacing an existing file.
  const QString path = AskSaveFileName(this, QStringLiteral("Exporter les relevés"),
                                       QDir(folder).filePath(QStringLiteral("releves.csv")),
                                       QStringLiteral("Fichiers CSV (*.csv)"));
  if (path.isEmpty()) return;
  QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
  ExportTo(path);
}

bool TNotebookWindow::ExportTo(const QString& path) {
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
