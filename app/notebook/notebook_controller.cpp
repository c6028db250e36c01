// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_controller.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QTimer>
#include <utility>

#include "app/dialogs/error_box.h"
#include "app/guarded.h"
#include "app/notebook/notebook_csv.h"
#include "app/notebook/notebook_file.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_store.h"
#include "app/notebook/notebook_window.h"
#include "app/notebook/unsaved_rows_box.h"
#include "app/save_folder.h"
#include "sim/bench.h"

namespace {

// A window out of sight (minimised at once, never shown) still gets its rows after this.
constexpr int kLoadAnywayMs = 1'000;

}  // namespace

TNotebookController::TNotebookController(QWidget* window, const TBench& bench)
    : QObject(window),
      window_(window),
      bench_(bench),
      model_(new TNotebookModel(this)),
      store_(new TNotebookStore(model_, TNotebookFile::DefaultPath(), this)) {
  // Said once the window is up, not in the middle of building it.
  ConnectGuarded(store_, &TNotebookStore::Loaded, this, [](const QString& message) {
    if (!message.isEmpty()) ShowErrorBox(message);
  });
  // Removals from the notebook's window, writes tried again.
  ConnectGuarded(store_, &TNotebookStore::Report, this,
                 [](const QString& message) { ShowErrorBox(message); });
  connect(store_, &TNotebookStore::SaveProblemChanged, this,
          &TNotebookController::SaveProblemChanged);
  // Nothing of the notebook is needed for the window's first paint: the file is read after it,
  // or after this wait when the window stays out of sight.
  window_->installEventFilter(this);
  QTimer::singleShot(kLoadAnywayMs, this, [this] { Guarded([this] { StartLoading(); }); });
}

TNotebookController::~TNotebookController() = default;

bool TNotebookController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Paint) {
    window_->removeEventFilter(this);
    // Once this paint is on the screen.
    QTimer::singleShot(0, this, [this] { Guarded([this] { StartLoading(); }); });
  }
  return QObject::eventFilter(watched, event);
}

void TNotebookController::StartLoading() {
  if (std::exchange(loadStarted_, true)) return;
  window_->removeEventFilter(this);
  store_->StartLoad();
}

TNotebookModel* TNotebookController::Model() const {
  // Asking for the rows is reading them: nothing a caller sees changes.
  const_cast<TNotebookController*>(this)->StartLoading();
  store_->FinishLoad();
  return model_;
}

QString TNotebookController::SaveProblem() const {
  return store_->SaveProblem();
}

TNotebookRow TNotebookController::CurrentReadings() const {
  const TBenchDescription bench = bench_.Description();
  TNotebookRow row;
  row.time =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
  row.experiment = bench.experiment;
  row.wiring = bench.wiring.caption;
  row.chopperType = bench.chopperType.caption;
  row.direction = bench.direction.caption;
  row.drivingMachine = bench.drivingMachine.caption;
  // The one-quadrant experiment shows no chopper or direction panel because it fixes both; its
  // rows still say which, in the two-quadrant panel's words, so that rows of both compare.
  if (bench_.ExperimentKind() == TExperiment::kOneQuadrant &&
      bench_.ChopperType() == TChopperType::kPlusOrMinus &&
      bench_.RotationDirection() == TDirection::kClockwise) {
    row.chopperType = "type + ou -";
    row.direction = "horaire";
  }
  row.setPoint = bench_.SpeedPercent();
  row.voltage = static_cast<double>(bench_.MotorVoltage());
  row.speed = static_cast<double>(bench_.MotorSpeed());
  // The ammeters read "inactif" outside the four-quadrant experiment: no value, not zero.
  if (bench_.ExperimentKind() == TExperiment::kFourQuadrants) {
    row.current1 = static_cast<double>(bench_.Current1());
    row.current2 = static_cast<double>(bench_.Current2());
  }
  return row;
}

void TNotebookController::Record() {
  StartLoading();  // the row comes after the file's
  const QString message = store_->Record(CurrentReadings());
  if (!message.isEmpty()) ShowErrorBox(message);
}

void TNotebookController::SetHighContrast(bool on) {
  if (NotebookWindow_ != nullptr) NotebookWindow_->SetHighContrast(on);
}

void TNotebookController::ShowWindow() {
  StartLoading();
  const QString message = store_->Refresh();
  if (NotebookWindow_ == nullptr) {
    NotebookWindow_ = new TNotebookWindow(model_, window_);
    TNotebookWindow* shown = NotebookWindow_;
    shown->ShowLoadProgress(store_->Loading() ? 0 : 1000);
    shown->ShowSaveProblem(store_->SaveProblem());
    ConnectGuarded(store_, &TNotebookStore::LoadProgress, shown,
                   [shown](int permille) { shown->ShowLoadProgress(permille); });
    ConnectGuarded(store_, &TNotebookStore::SaveProblemChanged, shown,
                   [shown](const QString& problem) { shown->ShowSaveProblem(problem); });
  }
  NotebookWindow_->show();
  NotebookWindow_->raise();
  NotebookWindow_->activateWindow();
  if (!message.isEmpty()) ShowErrorBox(message);
}

bool TNotebookController::Saved() {
  // The cause (a full disk, a folder out of reach) was said when it happened.
  StartLoading();
  store_->FinishLoad();
  store_->Flush();
  return store_->UnsavedRows().empty();
}

bool TNotebookController::CloseWithUnsavedRows() {
  const std::vector<TNotebookRow>& rows = store_->UnsavedRows();
  const QString count = QLocale(QLocale::French).toString(qulonglong(rows.size()));
  const QString question =
      rows.size() == 1 ? QStringLiteral(
                             "1 relevé n'a pas pu être enregistré et sera perdu à la fermeture du "
                             "programme. L'exporter d'abord dans un fichier CSV\u202F?")
                       : QStringLiteral(
                             "%1 relevés n'ont pas pu être enregistrés et seront perdus à la "
                             "fermeture du programme. Les exporter d'abord dans un fichier "
                             "CSV\u202F?")
                             .arg(count);
  switch (AskUnsavedRows(question)) {
    case TUnsavedRowsAnswer::kClose:
      return true;
    case TUnsavedRowsAnswer::kCancel:
      return false;
    case TUnsavedRowsAnswer::kExport:
      break;
  }
  const QString folderKey = QStringLiteral("fichiers/dossier");  // the exports' last folder
  const QString path = AskUnsavedRowsPath(
      window_,
      QDir(ProposedSaveFolder(folderKey)).filePath(QStringLiteral("releves-non-enregistres.csv")));
  if (path.isEmpty()) return false;  // back to the program, nothing lost
  QSettings().setValue(folderKey, QFileInfo(path).absolutePath());
  TNotebookModel unsaved;
  unsaved.SetRows(rows);
  const TExportResult result = SaveTableCsv(path, unsaved, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}
