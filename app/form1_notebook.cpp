// The readings notebook: F5, the "Relever le point" button or Fichier › Relever le point
// records the instruments as a row; Affichage › Relevés… shows the rows with their plot. The
// rows are saved after every change and found again at the next start.
#include <QDateTime>
#include <QRadioButton>
#include <QTimer>

#include "app/error_box.h"
#include "app/form1.h"
#include "app/notebook_file.h"
#include "app/notebook_model.h"
#include "app/notebook_window.h"
#include "sim/notebook.h"
#include "ui_form1.h"

namespace {

// The caption of the button chosen in `panel`, "" when the panel is not part of this
// experiment or nothing is chosen there.
std::string ChoiceIn(const QWidget* panel, const QWidget* window) {
  if (!panel->isVisibleTo(window) || !panel->parentWidget()->isVisibleTo(window)) return {};
  for (const QRadioButton* button : panel->findChildren<QRadioButton*>())
    if (button->isChecked()) return button->text().remove(QLatin1Char('&')).toStdString();
  return {};
}

}  // namespace

void TForm1::SetUpNotebook() {
  notebook_ = new TNotebookModel(this);
  notebookFile_ = std::make_unique<TNotebookFile>(TNotebookFile::DefaultPath());
  TNotebookLoad loaded = notebookFile_->Load();
  notebook_->SetRows(std::move(loaded.rows));
  if (!loaded.message.isEmpty()) {
    // Said once the window is up, not in the middle of building it.
    QTimer::singleShot(0, this, [message = loaded.message] { ShowErrorBox(message); });
  }
  connect(notebook_, &TNotebookModel::Changed, this, [this] {
    const QString failure = notebookFile_->Save(notebook_->Rows());
    if (!failure.isEmpty()) ShowErrorBox(failure);
  });
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

TNotebookRow TForm1::CurrentReadings() const {
  const Ui::TForm1& u = *ui_;
  const bool fourQuadrant = bench_.ExperimentKind == 2;
  TNotebookRow row;
  row.time =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
  row.experiment = ExperimentTitle().toStdString();
  row.wiring = ChoiceIn(u.Panel1, this);
  row.chopperType = ChoiceIn(u.Panel3, this);
  row.direction = ChoiceIn(fourQuadrant ? u.Panel35 : u.Panel2, this);
  row.drivingMachine = ChoiceIn(u.Panel32, this);
  row.setPoint = bench_.SpeedPercent;
  row.voltage = static_cast<double>(bench_.MotorVoltage);
  row.speed = static_cast<double>(bench_.MotorSpeed);
  // The ammeters read "inactif" outside the four-quadrant experiment: no value, not zero.
  if (fourQuadrant) {
    row.current1 = static_cast<double>(bench_.Current1);
    row.current2 = static_cast<double>(bench_.Current2);
  }
  return row;
}

void TForm1::Releverlepoint1Click() {
  notebook_->Append(CurrentReadings());
}

void TForm1::Relevs1Click() {
  if (NotebookWindow_ == nullptr) NotebookWindow_ = new TNotebookWindow(notebook_, this);
  NotebookWindow_->show();
  NotebookWindow_->raise();
  NotebookWindow_->activateWindow();
}
