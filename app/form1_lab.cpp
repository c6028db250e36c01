// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the lab tools, the readings notebook and projector mode: it runs its
// "Fichier" and "Affichage" menus, the "Mesures" and "Relever le point" buttons through them.
#include <QLabel>
#include <QLineEdit>

#include "app/form1.h"
#include "app/lab/lab_tools.h"
#include "app/notebook/notebook_controller.h"
#include "app/projector_mode.h"
#include "app/tool_bar_fit.h"
#include "sim/notebook.h"
#include "ui_form1.h"

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

// Projector mode reaches the oscilloscope (its lines, labels and read-out), the "Mesures" and
// "Relevés" windows, and the window's own instruments, grown into the room between their
// caption and the strip below. The read-out's caption keeps its whole width, so the lab
// buttons give way first.
void TForm1::ConnectProjector() {
  ConnectGuarded(projector_, &TProjectorMode::Changed, scope_.get(),
                 [this](bool on) { scope_->SetProjector(on); });
  ConnectGuarded(projector_, &TProjectorMode::Changed, labTools_,
                 [this](bool on) { labTools_->SetHighContrast(on); });
  ConnectGuarded(projector_, &TProjectorMode::Changed, this, [this](bool on) {
    const Ui::TForm1& u = *ui_;
    for (QLineEdit* meter : {u.LabeledEdit1, u.LabeledEdit2, u.LabeledEdit3, u.LabeledEdit4})
      SetProjectorText(meter, on, QMargins(0, 3, 0, 6));
    toolBarFit_->SetCaptionWhole(on);
  });
  ConnectGuarded(projector_, &TProjectorMode::Changed, notebook_,
                 [this](bool on) { notebook_->SetHighContrast(on); });
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

void TForm1::Contrastelev1Click(bool on) {
  projector_->Set(on);
}

void TForm1::Releverlepoint1Click() {
  notebook_->Record();
}

void TForm1::Relevs1Click() {
  notebook_->ShowWindow();
}

TNotebookRow TForm1::CurrentReadings() const {
  return notebook_->CurrentReadings();
}

TNotebookModel* TForm1::Notebook() const {
  return notebook_->Model();
}
