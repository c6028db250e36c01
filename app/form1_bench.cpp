// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers of the control panels and of the oscilloscope's tool bar: the widgets' part
// around the bench's, and the small helpers they share.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "app/current_channel.h"
#include "app/dialogs/error_box.h"
#include "app/form1.h"
#include "app/lab/lab_tools.h"
#include "app/tool_bar_fit.h"
#include "chart/chart.h"
#include "platform/jpeg_file.h"
#include "platform/picture_box.h"
#include "sim/reading_format.h"
#include "ui_form1.h"

// ---------------------------------------------------------------------------------------------
// Choice of the experiment

void TForm1::Hacheur1quadrant1Click() {
  ChooseExperiment(TExperiment::kOneQuadrant, "image/vide.jpg");
}

void TForm1::Hacheur2quadrantsvisualisationdestensions1Click() {
  ChooseExperiment(TExperiment::kTwoQuadrants, "image/vide.jpg");
}

void TForm1::Hacheur4quadrantsvisualisationdesintensits1Click() {
  ChooseExperiment(TExperiment::kFourQuadrants, "image/ampere4q.jpg");
}

// The controls of the speed are reset before the bench draws, the panels after.
void TForm1::ChooseExperiment(TExperiment experiment, const char* picture) {
  const bool fourQuadrant = experiment == TExperiment::kFourQuadrants;
  ResetSpeedControls(fourQuadrant);
  bench_.ChooseExperiment(experiment);
  if (fourQuadrant) {
    ui_->LabeledEdit3->setText(QStringLiteral("0"));
    ui_->LabeledEdit4->setText(QStringLiteral("0"));
    ClearSelection({ui_->RadioButton12, ui_->RadioButton13});
  } else {
    SetPanelsLocked({ui_->Panel1, ui_->Panel2, ui_->Panel3}, false);
    ui_->LabeledEdit3->setText(QStringLiteral("inactif"));
    ui_->LabeledEdit4->setText(QStringLiteral("inactif"));
    ClearSelection({ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton4,
                    ui_->RadioButton5, ui_->RadioButton6, ui_->RadioButton7, ui_->RadioButton8});
  }
  // Channel 2's names follow the experiment; its trace follows the bench's.
  currentChannel_->Choice().SetFourQuadrants(fourQuadrant);
  ShowCurrentChoice();
  // A picture that cannot be read is said, and the experiment still shows its panels.
  Guarded([&] { LoadPicture(picture); });
  ShowExperimentPanels(experiment);
}

void TForm1::ResetSpeedControls(bool fourQuadrant) {
  // The speed comes back to 0 (setting the bar sends no notification).
  SetBarPosition(ui_->ScrollBar1, 0);
  ui_->Edit1->setText(QStringLiteral("0"));
  if (!fourQuadrant) return;
  SetPanelsLocked({ui_->Panel35, ui_->Panel32}, false);
  ResetMachineBars();
  // No speed can be set before a driving machine is chosen.
  for (QScrollBar* bar : {ui_->ScrollBar3, ui_->ScrollBar2}) {
    bar->setVisible(true);
    bar->setEnabled(false);
  }
}

void TForm1::ShowExperimentPanels(TExperiment experiment) {
  if (experiment == TExperiment::kFourQuadrants) {
    ui_->Panel6->setVisible(true);
    ui_->Panel9->setVisible(false);
    ui_->Panel29->setVisible(true);
    ui_->Panel34->setVisible(true);
  } else {
    const bool oneQuadrant = experiment == TExperiment::kOneQuadrant;
    ui_->Panel29->setVisible(false);
    ui_->Panel6->setVisible(true);
    ui_->Panel9->setVisible(true);
    ui_->Panel2->setVisible(!oneQuadrant);
    ui_->Panel3->setVisible(!oneQuadrant);
    ui_->Panel34->setVisible(false);
  }
}

// ---------------------------------------------------------------------------------------------
// One- and two-quadrant control panel

// A picture that cannot be read ends the handler with the wiring set but not recomputed.
void TForm1::ChooseWiring(TWiring wiring, const char* twoQuadrantPicture,
                          const char* oneQuadrantPicture) {
  bench_.ChooseWiring(wiring, [&] {
    const TExperiment experiment = bench_.ExperimentKind();
    if (experiment == TExperiment::kTwoQuadrants) LoadPicture(twoQuadrantPicture);
    if (experiment == TExperiment::kOneQuadrant) LoadPicture(oneQuadrantPicture);
  });
}

void TForm1::RadioButton1Click() {
  ChooseWiring(TWiring::kNotConnected, "image/nonbranché.jpg", "image/1nonbranché.jpg");
}

void TForm1::RadioButton8Click() {
  ChooseWiring(TWiring::kWithoutInductance, "image/branché.jpg", "image/1branché.jpg");
}

void TForm1::RadioButton2Click() {
  ChooseWiring(TWiring::kWithInductance, "image/branchéself.jpg", "image/1branchéself.jpg");
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

// ---------------------------------------------------------------------------------------------
// Four-quadrant control panel

void TForm1::ResetMachineBars() {
  SetBarPosition(ui_->ScrollBar2, 0);
  SetBarPosition(ui_->ScrollBar3, 0);
  ui_->Edit2->setText(QStringLiteral("0"));
  ui_->Edit3->setText(QStringLiteral("0"));
}

// Only the driving machine's bar can be moved.
void TForm1::ChooseMachine(TDrivingMachine machine) {
  SetBarPosition(ui_->ScrollBar2, 0);
  SetBarPosition(ui_->ScrollBar3, 0);
  ui_->ScrollBar3->setEnabled(machine == TDrivingMachine::kMachine2);
  ui_->ScrollBar2->setEnabled(machine == TDrivingMachine::kMachine1);
  ui_->Edit2->setText(QStringLiteral("0"));
  ui_->Edit3->setText(QStringLiteral("0"));
  bench_.ChooseDrivingMachine(machine);  // then the direction is to be chosen again
  ClearSelection({ui_->RadioButton10, ui_->RadioButton9});
}

void TForm1::RadioButton12Click() {
  ChooseMachine(TDrivingMachine::kMachine1);
}

void TForm1::RadioButton13Click() {
  ChooseMachine(TDrivingMachine::kMachine2);
}

void TForm1::ChooseMachineDirection(TDirection direction) {
  ResetMachineBars();
  bench_.ChooseMachineDirection(direction);
}

void TForm1::RadioButton10Click() {
  ChooseMachineDirection(TDirection::kClockwise);
}

void TForm1::RadioButton9Click() {
  ChooseMachineDirection(TDirection::kAnticlockwise);
}

// ---------------------------------------------------------------------------------------------
// Speed bars: the set-point, and the panels of choices locked while the speed is not zero

void TForm1::ScrollBar1Scroll(int position) {
  bench_.SetSpeedSetting(position);
  ui_->Edit1->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_->Panel1, ui_->Panel2, ui_->Panel3}, position != 0);
  bench_.RefreshOneOrTwoQuadrant();
}

void TForm1::MachineSpeedBarScroll(QLineEdit* box, int position) {
  bench_.SetMachineSpeedSetting(position);
  box->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_->Panel35, ui_->Panel32}, position != 0);
  bench_.RefreshFourQuadrant();
}

void TForm1::ScrollBar2Scroll(int position) {
  MachineSpeedBarScroll(ui_->Edit2, position);
}

void TForm1::ScrollBar3Scroll(int position) {
  MachineSpeedBarScroll(ui_->Edit3, position);
}

// ---------------------------------------------------------------------------------------------
// The oscilloscope's tool bar, read-out and measuring cross

// "U /T": each difference with two decimals and the user's separator; with channel 2 on,
// " / i : I A" after it, the right axis's difference at the same heights.
QString TForm1::ReadOutText(double voltage, double time) const {
  const std::string separator = QLocale::system().decimalPoint().toStdString();
  QString text = QString::fromStdString(FormatReading(voltage, 2, separator) + " /" +
                                        FormatReading(time, 2, separator));
  if (currentChannel_->Choice().On()) {
    text += QStringLiteral(" / %1\u00A0: %2\u00A0A")
                .arg(currentChannel_->Choice().Name(),
                     QString::fromStdString(
                         FormatReading(currentChannel_->AmperesFor(voltage), 2, separator)));
  }
  return text;
}

void TForm1::Chart1MouseMove(int x, int y) {
  if (!ui_->Chart1->PlotRect.Contains(x, y)) return;  // the read-out keeps its last text
  double time = 0, voltage = 0;
  Series1->PointerToValues(time, voltage);  // where the pointer is now
  ShowReadOut(time, voltage);
}

void TForm1::ShowReadOut(double time, double voltage) {
  readOutShown_ = {voltage - bench_.ReferenceVoltage(), time - bench_.ReferenceTime()};
  ui_->Label1->setText(ReadOutText(readOutShown_->first, readOutShown_->second));
}

// The cross spans the ranges shown at this moment; the read-out becomes relative to it at the
// next move.
void TForm1::Chart1DblClick() {
  if (labTools_->ShiftDoubleClick()) {
    labTools_->SetCursorB();
    return;
  }
  double time = 0, voltage = 0;
  Series1->PointerToValues(time, voltage);
  PlaceCursorA(time, voltage);
}

void TForm1::PlaceCursorA(double time, double voltage) {
  bench_.SetReference(time, voltage);
  TLabTools::SpanCursorLines(*ui_->Chart1, *Series2, *Series3, time, voltage);
  labTools_->RefreshMeasures();
}

void TForm1::Button1Click() {
  Series2->ClearPoints();
  Series3->ClearPoints();
  bench_.SetReference(0, 0);
  readOutShown_ = {bench_.ReferenceVoltage(), bench_.ReferenceTime()};
  ui_->Label1->setText(ReadOutText(readOutShown_->first, readOutShown_->second));
  labTools_->ClearCursorB();
  labTools_->RefreshMeasures();
}

void TForm1::Button2Click() {
  ui_->Chart1->ResetZoom();
}

void TForm1::Button3Click() {
  OpenHelpPage("\\aide\\aideoscillo.htm");
}

// ---------------------------------------------------------------------------------------------
// Channel 2: the current

void TForm1::Aucune1Click() {
  ChooseCurrent(TCurrentProbe::kNone);
}

void TForm1::icourantdumoteur1Click() {
  ChooseCurrent(TCurrentProbe::kMotor);
}

void TForm1::i2courantctsource1Click() {
  ChooseCurrent(TCurrentProbe::kSupply);
}

void TForm1::Button6Click() {
  const TCurrentChoice& choice = currentChannel_->Choice();
  ChooseCurrent(choice.On() ? TCurrentProbe::kNone : choice.Last());
}

QString TForm1::CurrentName() const {
  return currentChannel_->Choice().Name();
}

// Turned on while zoomed, the right axis takes the left one's range of now.
void TForm1::ChooseCurrent(TCurrentProbe probe) {
  currentChannel_->Choice().Choose(probe);
  ShowCurrentChoice();
  currentChannel_->FollowLeftAxis();
  currentChannel_->Show(bench_);
}

// The menu and the button say what is shown; i2 is offered in four quadrants only.
void TForm1::ShowCurrentChoice() {
  const TCurrentChoice& choice = currentChannel_->Choice();
  ui_->icourantdumoteur1->setText(choice.FourQuadrants()
                                      ? QStringLiteral("&i1\u00A0: courant de la machine n°1")
                                      : QStringLiteral("&i\u00A0: courant du moteur"));
  ui_->i2courantctsource1->setEnabled(choice.FourQuadrants());
  QAction* shown = choice.Probe() == TCurrentProbe::kMotor    ? ui_->icourantdumoteur1
                   : choice.Probe() == TCurrentProbe::kSupply ? ui_->i2courantctsource1
                                                              : ui_->Aucune1;
  shown->setChecked(true);
  ui_->Button6->setChecked(choice.On());
  ui_->Label1->setAccessibleDescription(
      choice.On() ? QStringLiteral("Lecture du curseur, tension (V) / temps (ms) / courant (A)")
                  : QStringLiteral("Lecture du curseur, tension (V) / temps (ms)"));
  if (readOutShown_) ui_->Label1->setText(ReadOutText(readOutShown_->first, readOutShown_->second));
  FitReadOut();
}

// Room for the widest read-out with the current (two digits before the separator, as far as a
// cross and the pointer can be apart), in the label's font of now; with the channel off, the
// read-out as laid out.
void TForm1::FitReadOut() {
  QLabel* readOut = ui_->Label1;
  toolBarFit_->SetValueWidth(
      currentChannel_->Choice().On()
          ? readOut->fontMetrics().horizontalAdvance(ReadOutText(-88.88, -88.88))
          : 0);
}

void TForm1::FollowBench() {
  if (watchedTrace1_->TakeRewritten()) currentChannel_->Show(bench_);
}

// ---------------------------------------------------------------------------------------------
// Small helpers

// From the working directory the path stays relative, so an error names it as it is written;
// from another folder it names the file in full.
void TForm1::LoadPicture(const char* path) {
  const TDataFolder images = DataFolder("image");
  if (!images.Found()) {
    if (!imagesMissing_) throw EPictureError(QString::fromUtf8(path));
    return;  // said once at start-up
  }
  const QString relative = QString::fromUtf8(path);
  const bool here = images.base == QDir::cleanPath(QDir::currentPath());
  const QString file = here ? relative : QDir(images.base).filePath(relative);
  ui_->Image1->SetPicture(ReadJpegFile(file), VectorSourceOf(file));
}

TDataFolder TForm1::DataFolder(const char* name) const {
  const bool images = qstrcmp(name, "image") == 0;
  return FindDataFolder(
      QString::fromLatin1(name), images ? QStringLiteral("*.jpg") : QStringLiteral("*.htm"),
      DataFolderBases(QDir::currentPath(), QCoreApplication::applicationDirPath()));
}

void TForm1::ReportMissingDataFolders() {
  QStringList missing;
  QStringList tried;
  for (const char* name : {"image", "aide"}) {
    const TDataFolder folder = DataFolder(name);
    if (folder.Found()) continue;
    missing.append(QString::fromLatin1(name));
    tried = folder.tried;
  }
  imagesMissing_ = missing.contains(QStringLiteral("image"));
  if (!missing.isEmpty()) ShowErrorBox(MissingFoldersMessage(missing, tried));
}

void TForm1::SetPanelColor(QWidget* panel, TColor color) {
  QPalette palette = panel->palette();
  if (color == clBtnFace) {
    palette.setBrush(QPalette::Window, QApplication::palette().brush(QPalette::Window));
  } else {
    palette.setColor(QPalette::Window,
                     QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                            static_cast<int>((color >> 16) & 0xFF)));
  }
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
}

// Enabled state first, then colours, each in the panels' order.
void TForm1::SetPanelsLocked(std::initializer_list<QWidget*> panels, bool locked) {
  for (QWidget* panel : panels)
    panel->setEnabled(!locked);
  for (QWidget* panel : panels)
    SetPanelColor(panel, locked ? clBtnFace : clMoneyGreen);
}

void TForm1::ClearSelection(std::initializer_list<QRadioButton*> buttons) {
  for (QRadioButton* button : buttons) {
    const QSignalBlocker quiet(button);
    // An exclusive button cannot be unchecked while it is the group's selection.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    // A selection left only the selected button in the Tab chain; with none, each is again.
    button->setFocusPolicy(Qt::StrongFocus);
  }
}

void TForm1::SetBarPosition(QScrollBar* bar, int position) {
  const QSignalBlocker quiet(bar);
  bar->setValue(position);
}
