// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the lab tools and of the readings notebook: it creates them, hands them
// what it shows, and runs its "Fichier" and "Affichage" menus, the "Mesures" and "Relever le
// point" buttons through them.
#include <QLineEdit>
#include <QRegularExpression>

#include "app/current_channel.h"
#include "app/form1.h"
#include "app/lab/lab_tools.h"
#include "app/lab/measures_window.h"
#include "app/notebook/notebook_controller.h"
#include "app/notebook/notebook_window.h"
#include "app/tool_bar_fit.h"
#include "sim/notebook.h"
#include "ui_form1.h"

void TForm1::CreateLabTools() {
  labTools_ =
      new TLabTools(this, bench_, {ui_->Chart1, Series1, Series4, Series2, Series3, Series7},
                    {[this] { return SettingsList(); }, [this] { return InstrumentReadings(); },
                     [this] { return CurrentName(); }});
}

void TForm1::CreateNotebook() {
  notebook_ = new TNotebookController(this, bench_);
}

void TForm1::ConnectLabAndNotebook() {
  const std::pair<QAction*, void (TForm1::*)()> menus[] = {
      {ui_->Enregistrerlcrandeloscilloscope1, &TForm1::Enregistrerlcrandeloscilloscope1Click},
      {ui_->Exporterlescourbes1, &TForm1::Exporterlescourbes1Click},
      {ui_->Copierlcran1, &TForm1::Copierlcran1Click},
      {ui_->Imprimer1, &TForm1::Imprimer1Click},
      {ui_->Quitter1, &TForm1::Quitter1Click},
      {ui_->Mesures1, &TForm1::Mesures1Click},
      {ui_->Releverlepoint1, &TForm1::Releverlepoint1Click},
      {ui_->Relevs1, &TForm1::Relevs1Click}};
  for (const auto& [action, handler] : menus)
    Wire(action, &QAction::triggered, handler);
  Wire(ui_->Contrastelev1, &QAction::toggled, &TForm1::Contrastelev1Click);
  Wire(ui_->Button4, &QAbstractButton::clicked, &TForm1::Mesures1Click);
  Wire(ui_->Button5, &QAbstractButton::clicked, &TForm1::Releverlepoint1Click);
  // F5 records from the notebook's window too.
  ui_->Releverlepoint1->setShortcutContext(Qt::ApplicationShortcut);
}

// The choices of the control panel shown, named as their panels, in the screen's order
// (wiring, chopper, direction; or machine, direction), then each set-point shown.
QList<QPair<QString, QString>> TForm1::SettingsList() const {
  QList<QPair<QString, QString>> settings;
  const Ui::TForm1& u = *ui_;
  const TBenchDescription bench = bench_.Description();
  const bool fourQuadrant = bench_.ExperimentKind() == TExperiment::kFourQuadrants;
  const std::pair<const QWidget*, const TPanelChoice*> choices[] = {
      {u.Panel1, &bench.wiring},
      {u.Panel3, &bench.chopperType},
      {u.Panel32, &bench.drivingMachine},
      {fourQuadrant ? u.Panel35 : u.Panel2, &bench.direction}};
  for (const auto& [panel, choice] : choices) {
    if (!choice->shown) continue;
    settings.append({panel->accessibleName(), choice->caption.empty()
                                                  ? QStringLiteral("non choisi")
                                                  : QString::fromStdString(choice->caption)});
  }
  const std::pair<QWidget*, QLineEdit*> setPoints[] = {
      {u.Panel13, u.Edit1}, {u.Panel37, u.Edit3}, {u.Panel30, u.Edit2}};
  for (const auto& [panel, box] : setPoints) {
    if (!panel->isVisibleTo(this) || !panel->parentWidget()->isVisibleTo(this)) continue;
    settings.append({panel->accessibleName(), box->text() + QStringLiteral("\u00A0%")});
  }
  return settings;
}

QList<QPair<QString, QString>> TForm1::InstrumentReadings() const {
  QList<QPair<QString, QString>> readings;
  const Ui::TForm1& u = *ui_;
  const std::pair<QLineEdit*, const char*> meters[] = {{u.LabeledEdit1, "V"},
                                                       {u.LabeledEdit3, "A"},
                                                       {u.LabeledEdit2, "tr/mn"},
                                                       {u.LabeledEdit4, "A"}};
  for (const auto& [box, unit] : meters) {
    // "inactif" is a state, not a reading: no unit after it.
    const bool number = box->text().contains(QRegularExpression(QStringLiteral("\\d")));
    readings.append(
        {box->accessibleName(),
         number ? box->text() + QStringLiteral("\u00A0") + QString::fromUtf8(unit) : box->text()});
  }
  return readings;
}

// --- The menus and buttons --------------------------------------------------------------------

void TForm1::Enregistrerlcrandeloscilloscope1Click() {
  labTools_->SaveScreen();
}

void TForm1::Exporterlescourbes1Click() {
  labTools_->ExportCurves();
}

void TForm1::Copierlcran1Click() {
  labTools_->CopyScreen();
}

void TForm1::Imprimer1Click() {
  labTools_->Print();
}

void TForm1::Quitter1Click() {
  close();  // through the close confirmation
}

void TForm1::Mesures1Click() {
  labTools_->ShowMeasures();
}

// Projector mode reaches the window's own readings too: the four instruments, grown into the
// room between their caption and the strip below, and the read-out.
void TForm1::Contrastelev1Click(bool on) {
  labTools_->SetHighContrast(on);
  currentChannel_->SetHighContrast(on);
  const Ui::TForm1& u = *ui_;
  for (QLineEdit* meter : {u.LabeledEdit1, u.LabeledEdit2, u.LabeledEdit3, u.LabeledEdit4})
    SetProjectorText(meter, on, QMargins(0, 3, 0, 6));
  for (QLabel* readOut : {u.Label2, u.Label1})
    SetProjectorText(readOut, on);
  // The read-out's caption keeps its whole width, so the lab buttons give way first; channel
  // 2's read-out is measured again in the new font.
  toolBarFit_->SetCaptionWhole(on);
  FitReadOut();
  if (auto* notebook = findChild<TNotebookWindow*>()) notebook->SetHighContrast(on);
}

void TForm1::Releverlepoint1Click() {
  notebook_->Record();
}

void TForm1::Relevs1Click() {
  notebook_->ShowWindow();
}

// --- What tests and the screenshot tool reach ---------------------------------------------------

TNotebookRow TForm1::CurrentReadings() const {
  return notebook_->CurrentReadings();
}

TNotebookModel* TForm1::Notebook() const {
  return notebook_->Model();
}
