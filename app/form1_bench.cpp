// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers of the control panels and of the oscilloscope's tool bar, each handing its work
// to the control panels, the bench or the oscilloscope view.
#include "app/control_panels.h"
#include "app/form1.h"
#include "app/scope/current_channel.h"
#include "ui_form1.h"

// --- Choice of the experiment ---

void TForm1::Hacheur1quadrant1Click() {
  panels_->ChooseExperiment(TExperiment::kOneQuadrant, "image/vide.jpg");
}

void TForm1::Hacheur2quadrantsvisualisationdestensions1Click() {
  panels_->ChooseExperiment(TExperiment::kTwoQuadrants, "image/vide.jpg");
}

void TForm1::Hacheur4quadrantsvisualisationdesintensits1Click() {
  panels_->ChooseExperiment(TExperiment::kFourQuadrants, "image/ampere4q.jpg");
}

// --- One- and two-quadrant control panel ---

void TForm1::RadioButton1Click() {
  panels_->ChooseWiring(TWiring::kNotConnected, "image/nonbranché.jpg", "image/1nonbranché.jpg");
}

void TForm1::RadioButton8Click() {
  panels_->ChooseWiring(TWiring::kWithoutInductance, "image/branché.jpg", "image/1branché.jpg");
}

void TForm1::RadioButton2Click() {
  panels_->ChooseWiring(TWiring::kWithInductance, "image/branchéself.jpg",
                        "image/1branchéself.jpg");
}

void TForm1::RadioButton3Click() {
  bench_.ChooseDirection(TDirection::kClockwise);
}

void TForm1::RadioButton4Click() {
  bench_.ChooseDirection(TDirection::kAnticlockwise);
}

void TForm1::RadioButton5Click() {
  bench_.ChooseChopperType(TChopperType::kPlusOrMinus);
}

void TForm1::RadioButton6Click() {
  bench_.ChooseChopperType(TChopperType::kPlusAndMinusFedAtZero);
}

void TForm1::RadioButton7Click() {
  bench_.ChooseChopperType(TChopperType::kPlusAndMinusOffAtZero);
}

// --- Four-quadrant control panel ---

void TForm1::RadioButton12Click() {
  panels_->ChooseMachine(TDrivingMachine::kMachine1);
}

void TForm1::RadioButton13Click() {
  panels_->ChooseMachine(TDrivingMachine::kMachine2);
}

void TForm1::RadioButton10Click() {
  panels_->ChooseMachineDirection(TDirection::kClockwise);
}

void TForm1::RadioButton9Click() {
  panels_->ChooseMachineDirection(TDirection::kAnticlockwise);
}

// --- Speed bars ---

void TForm1::ScrollBar1Scroll(int position) {
  panels_->SpeedBarScroll(position);
}

void TForm1::ScrollBar2Scroll(int position) {
  panels_->MachineSpeedBarScroll(ui_->Edit2, position);
}

void TForm1::ScrollBar3Scroll(int position) {
  panels_->MachineSpeedBarScroll(ui_->Edit3, position);
}

void TForm1::SpeedBoxEntered(QLineEdit* box) {
  panels_->SpeedBoxEntered(box);
}

// --- The oscilloscope's tool bar, read-out and cursors ---

void TForm1::Chart1MouseMove(int x, int y) {
  scope_->MouseMove(x, y);
}

void TForm1::Chart1DblClick() {
  scope_->DoubleClick();
}

void TForm1::Chart1KeyDown(TScopeKey key) {
  scope_->KeyDown(key);
}

void TForm1::Button1Click() {
  scope_->ClearCursors();
}

void TForm1::Button2Click() {
  scope_->Dezoom();
}

void TForm1::Button3Click() {
  OpenHelpPage("\\aide\\aideoscillo.htm");
}

// --- Channel 2: the current ---

void TForm1::Aucune1Click() {
  scope_->ChooseCurrent(TCurrentProbe::kNone);
}

void TForm1::icourantdumoteur1Click() {
  scope_->ChooseCurrent(TCurrentProbe::kMotor);
}

void TForm1::i2courantctsource1Click() {
  scope_->ChooseCurrent(TCurrentProbe::kSupply);
}

void TForm1::Button6Click() {
  scope_->ToggleCurrent();
}

QString TForm1::CurrentName() const {
  return scope_->CurrentName();
}
