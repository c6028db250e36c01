// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_window.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <cstddef>
#include <utility>

#include "app/guarded.h"
#include "app/notebook/experiment_filter.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_plot.h"
#include "app/notebook/notebook_table_actions.h"
#include "app/projector_mode.h"
#include "chart/chart.h"

#include "ui_notebook_window.h"

namespace {

// Columns are sized from this many rows at each end of the table, never from all of them.
constexpr int kSampleRows = 32;

const QString kAllRows = QStringLiteral("Tous les relevés");

}  // namespace

TNotebookWindow::TNotebookWindow(TNotebookModel* model, QWidget* parent)
    : TLabWindow(parent, QSize(1120, 580)),
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
  actions_ = std::make_unique<TNotebookTableActions>(this, ui_->RowsTable, model_, filter_);
  SetUpTable();
  plot_ = std::make_unique<TNotebookPlot>(TNotebookPlot::TWidgets{
      ui_->NotebookChart, ui_->XColumnBox, ui_->YColumnBox, ui_->FitLabel, ui_->MixLabel});
  SetUpColumnChoices();
  SetUpExperimentChoice();
  ConnectModel();
  ConnectButtons();
  // A child of the table, not of its rows' viewport, which moves its children as it scrolls.
  progress_ = new QProgressBar(ui_->RowsTable);
  progress_->setObjectName(QStringLiteral("LoadProgress"));
  progress_->setAccessibleName(QStringLiteral("Chargement des relevés"));
  progress_->setFormat(QStringLiteral("Chargement des relevés… %p\u00A0%"));
  progress_->setRange(0, 1000);
  progress_->hide();
  ui_->RowsTable->viewport()->installEventFilter(this);
  ui_->Splitter->setSizes({620, 500});
  QPalette warning = ui_->SaveProblemLabel->palette();
  warning.setColor(QPalette::WindowText, QColor(0x90, 0x00, 0x00));
  ui_->SaveProblemLabel->setPalette(warning);
  if (TProjectorMode::Saved()) SetHighContrast(true);
  SizeColumnsToSample();
  stale_ = TStale::kAll;
  Refresh();
}

TNotebookWindow::~TNotebookWindow() = default;

bool TNotebookWindow::ExportTo(const QString& path) {
  return actions_->ExportTo(path);
}

void TNotebookWindow::SetHighContrast(bool on) {
  QTableView* table = ui_->RowsTable;
  SetProjectorText(table, on);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  SizeColumnsToSample();
}

void TNotebookWindow::ShowLoadProgress(int permille) {
  loading_ = permille < 1000;
  progress_->setValue(permille);
  progress_->setVisible(loading_);
  if (loading_) PlaceProgress();
  UpdateButtons();
}

// Along the foot of the rows, over them: the window keeps its size and place.
void TNotebookWindow::PlaceProgress() {
  const QRect rows = ui_->RowsTable->viewport()->geometry();
  const int height = std::min(progress_->sizeHint().height(), rows.height());
  progress_->setGeometry(rows.x(), rows.bottom() + 1 - height, rows.width(), height);
}

bool TNotebookWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && progress_ != nullptr && progress_->isVisible())
    PlaceProgress();
  return TLabWindow::eventFilter(watched, event);
}

void TNotebookWindow::ShowSaveProblem(const QString& problem) {
  QLabel* label = ui_->SaveProblemLabel;
  label->setText(problem);
  label->setAccessibleName(problem);
  label->setVisible(!problem.isEmpty());
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
  TNotebookTableActions* actions = actions_.get();
  auto* remove = new QShortcut(QKeySequence::Delete, table);
  remove->setContext(Qt::WidgetShortcut);
  ConnectGuarded(remove, &QShortcut::activated, this, [this, actions] {
    if (!loading_) actions->RemoveSelectedRows();
  });
  auto* copy = new QShortcut(QKeySequence::Copy, table);
  copy->setContext(Qt::WidgetShortcut);
  ConnectGuarded(copy, &QShortcut::activated, this, [actions] { actions->CopySelectedRows(); });
}

void TNotebookWindow::SetUpColumnChoices() {
  for (QComboBox* box : {ui_->XColumnBox, ui_->YColumnBox}) {
    ConnectGuarded(box, &QComboBox::currentIndexChanged, this, [this] {
      // A zoom into one pair of quantities means nothing for another.
      ui_->NotebookChart->ResetZoom();
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

void TNotebookWindow::ConnectButtons() {
  TNotebookTableActions* actions = actions_.get();
  const std::pair<QPushButton*, void (TNotebookTableActions::*)()> buttons[] = {
      {ui_->RemoveButton, &TNotebookTableActions::RemoveSelectedRows},
      {ui_->ClearButton, &TNotebookTableActions::ClearShownRows},
      {ui_->CopyButton, &TNotebookTableActions::CopySelectedRows},
      {ui_->ExportButton, &TNotebookTableActions::AskExportPath}};
  for (const auto& [button, action] : buttons)
    ConnectGuarded(button, &QPushButton::clicked, this,
                   [actions, action = action] { (actions->*action)(); });
  TChart* chart = ui_->NotebookChart;
  ConnectGuarded(ui_->DezoomButton, &QPushButton::clicked, chart, [chart] { chart->ResetZoom(); });
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
  if (stale_ == TStale::kAppended) {
    plot_->Add(model_->Rows(), plottedRows_, model_->rowCount(), *filter_);
  } else {
    plot_->Clear();
    plot_->Add(model_->Rows(), 0, model_->rowCount(), *filter_);
  }
  plottedRows_ = model_->rowCount();
  stale_ = TStale::kNone;
  plot_->Fit();
  UpdateButtons();
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
  // Rows still being read would come back after a removal or a clear of those shown.
  ui_->RemoveButton->setEnabled(selected && !loading_);
  ui_->CopyButton->setEnabled(selected);
  ui_->ClearButton->setEnabled(any && !loading_);
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
  ui_->NotebookChart->ResetZoom();
  SizeColumnsToSample();
  return true;
}

void TNotebookWindow::ChooseExperiment() {
  filter_->SetExperiment(ui_->ExperimentBox->currentData().toString().toStdString());
  // A zoom into one experiment's points means nothing for another's.
  ui_->NotebookChart->ResetZoom();
  SizeColumnsToSample();
  MarkStale(TStale::kAll);
  Refresh();
}
