// The readings notebook: F5, the "Relever le point" button or Fichier › Relever le point
// records the instruments as a row; Affichage › Relevés… shows the rows with their plot. Every
// change goes to the file at once, beside the changes of any other copy of the program, and the
// rows are found again at the next start.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "app/error_box.h"
#include "app/export.h"
#include "app/form1.h"
#include "app/notebook_file.h"
#include "app/notebook_model.h"
#include "app/notebook_store.h"
#include "app/notebook_window.h"
#include "app/unsaved_rows_box.h"
#include "sim/notebook.h"
#include "ui_form1.h"

void TForm1::SetUpNotebook() {
  notebook_ = new TNotebookModel(this);
  notebookStore_ = new TNotebookStore(notebook_, TNotebookFile::DefaultPath(), this);
  const QString loaded = notebookStore_->Load();
  if (!loaded.isEmpty()) {
    // Said once the window is up, not in the middle of building it.
    QTimer::singleShot(0, this, [loaded] { ShowErrorBox(loaded); });
  }
  // Removals from the notebook's window.
  connect(notebookStore_, &TNotebookStore::Report, this,
          [](const QString& message) { ShowErrorBox(message); });
  const auto onMenu = [this](QAction* action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  // F5 records from the notebook's window too.
  ui_->Releverlepoint1->setShortcutContext(Qt::ApplicationShortcut);
  onMenu(ui_->Releverlepoint1, &TForm1::Releverlepoint1Click);
  onMenu(ui_->Relevs1, &TForm1::Relevs1Click);
  connect(ui_->Button5, &QAbstractButton::clicked, this,
          [this] { Guarded([&] { Releverlepoint1Click(); }); });
  ui_->Button5->setAccessibleName(QStringLiteral("Relever le point"));
  ui_->Button5->setAccessibleDescription(
      QStringLiteral("Ajoute les lectures des instruments au tableau des relevés (F5)"));
}

// The choices are the captions of the buttons chosen in the panels shown, "" for a panel that
// is not part of the experiment or where nothing is chosen.
TNotebookRow TForm1::CurrentReadings() const {
  const TBenchDescription bench = bench_.Description();
  TNotebookRow row;
  row.time =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
  row.experiment = bench.experiment;
  row.wiring = bench.wiring.caption;
  row.chopperType = bench.chopperType.caption;
  row.direction = bench.direction.caption;
  row.drivingMachine = bench.drivingMachine.caption;
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

void TForm1::Releverlepoint1Click() {
  const QString message = notebookStore_->Record(CurrentReadings());
  if (!message.isEmpty()) ShowErrorBox(message);
}

void TForm1::Relevs1Click() {
  // With what other copies of the program recorded or removed meanwhile.
  const QString message = notebookStore_->Refresh();
  if (NotebookWindow_ == nullptr) NotebookWindow_ = new TNotebookWindow(notebook_, this);
  NotebookWindow_->show();
  NotebookWindow_->raise();
  NotebookWindow_->activateWindow();
  if (!message.isEmpty()) ShowErrorBox(message);
}

bool TForm1::NotebookSaved() {
  // The cause (a full disk, a folder out of reach) was said when it happened.
  notebookStore_->Flush();
  return notebookStore_->UnsavedRows().empty();
}

bool TForm1::CloseWithUnsavedRows() {
  const std::vector<TNotebookRow>& rows = notebookStore_->UnsavedRows();
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
  QSettings settings;
  QString folder = settings.value(folderKey).toString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir())
    folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString path = AskUnsavedRowsPath(
      this, QDir(folder).filePath(QStringLiteral("releves-non-enregistres.csv")));
  if (path.isEmpty()) return false;  // back to the program, nothing lost
  settings.setValue(folderKey, QFileInfo(path).absolutePath());
  TNotebookModel unsaved;
  unsaved.SetRows(rows);
  const TExportResult result = SaveTableCsv(path, unsaved, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}
