// SPDX-License-Identifier: GPL-3.0-or-later
// The control panels: the widgets' part of each choice around the bench's, and the small helpers
// they share.
#include "app/control_panels.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>

#include "app/dialogs/error_box.h"
#include "app/guarded.h"
#include "app/instruments.h"
#include "app/set_point.h"
#include "platform/color.h"
#include "platform/jpeg_file.h"
#include "platform/picture_box.h"
#include "sim/bench.h"
#include "ui_form1.h"

namespace {

const QString kBoxHint =
    QStringLiteral("Tapez une vitesse de 0 à 100\u00A0% par pas de 0,5, puis Entrée.");

void SetPanelColor(QWidget* panel, TColor color) {
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

}  // namespace

TControlPanels::TControlPanels(QWidget* window, Ui::TForm1& ui, TBench& bench,
                               TInstruments& instruments)
    : QObject(window), window_(window), ui_(ui), bench_(bench), instruments_(instruments) {
  for (QLineEdit* box : {ui_.Edit1, ui_.Edit2, ui_.Edit3})
    box->setAccessibleDescription(kBoxHint);
}

// The bench is in its start-up state from its construction on: the two-quadrant experiment's
// code, nothing chosen.
void TControlPanels::ShowStart() {
  for (TInstrument instrument : {inVoltmeter, inTachometer, inAmmeter1, inAmmeter2})
    instruments_.Show(instrument, QStringLiteral("inactif"));
  ReportMissingDataFolders();
  Guarded([this] { LoadPicture("image/vide0.jpg"); });
}

// ---------------------------------------------------------------------------------------------
// Choice of the experiment

// The controls of the speed are reset before the bench draws, the panels after.
void TControlPanels::ChooseExperiment(TExperiment experiment, const char* picture) {
  const bool fourQuadrant = experiment == TExperiment::kFourQuadrants;
  ResetSpeedControls(fourQuadrant);
  bench_.ChooseExperiment(experiment);
  const QString ammeters = fourQuadrant ? QStringLiteral("0") : QStringLiteral("inactif");
  if (!fourQuadrant) SetPanelsLocked({ui_.Panel1, ui_.Panel2, ui_.Panel3}, false);
  instruments_.Show(inAmmeter1, ammeters);
  instruments_.Show(inAmmeter2, ammeters);
  if (fourQuadrant) {
    ClearSelection({ui_.RadioButton12, ui_.RadioButton13});
  } else {
    ClearSelection({ui_.RadioButton1, ui_.RadioButton2, ui_.RadioButton3, ui_.RadioButton4,
                    ui_.RadioButton5, ui_.RadioButton6, ui_.RadioButton7, ui_.RadioButton8});
  }
  emit FourQuadrantsChosen(fourQuadrant);
  // A picture that cannot be read is said, and the experiment still shows its panels.
  Guarded([&] { LoadPicture(picture); });
  ShowExperimentPanels(experiment);
}

void TControlPanels::ResetSpeedControls(bool fourQuadrant) {
  // The speed comes back to 0 (setting the bar sends no notification).
  SetBarPosition(ui_.ScrollBar1, 0);
  ui_.Edit1->setText(QStringLiteral("0"));
  if (!fourQuadrant) return;
  SetPanelsLocked({ui_.Panel35, ui_.Panel32}, false);
  ResetMachineBars();
  // No speed can be set before a driving machine is chosen.
  for (QScrollBar* bar : {ui_.ScrollBar3, ui_.ScrollBar2}) {
    bar->setVisible(true);
    bar->setEnabled(false);
  }
}

void TControlPanels::ShowExperimentPanels(TExperiment experiment) {
  const bool fourQuadrant = experiment == TExperiment::kFourQuadrants;
  const bool oneQuadrant = experiment == TExperiment::kOneQuadrant;
  if (fourQuadrant) {
    ui_.Panel6->setVisible(true);
    ui_.Panel9->setVisible(false);
    ui_.Panel29->setVisible(true);
  } else {
    ui_.Panel29->setVisible(false);
    ui_.Panel6->setVisible(true);
    ui_.Panel9->setVisible(true);
    ui_.Panel2->setVisible(!oneQuadrant);
    ui_.Panel3->setVisible(!oneQuadrant);
  }
  ui_.Panel34->setVisible(fourQuadrant);
}

// ---------------------------------------------------------------------------------------------
// One- and two-quadrant control panel

void TControlPanels::ChooseWiring(TWiring wiring, const char* twoQuadrantPicture,
                                  const char* oneQuadrantPicture) {
  bench_.ChooseWiring(wiring, [&] {
    const TExperiment experiment = bench_.ExperimentKind();
    if (experiment == TExperiment::kTwoQuadrants) LoadPicture(twoQuadrantPicture);
    if (experiment == TExperiment::kOneQuadrant) LoadPicture(oneQuadrantPicture);
  });
}

// ---------------------------------------------------------------------------------------------
// Four-quadrant control panel

void TControlPanels::ResetMachineBars() {
  SetBarPosition(ui_.ScrollBar2, 0);
  SetBarPosition(ui_.ScrollBar3, 0);
  ui_.Edit2->setText(QStringLiteral("0"));
  ui_.Edit3->setText(QStringLiteral("0"));
}

// Only the driving machine's bar can be moved.
void TControlPanels::ChooseMachine(TDrivingMachine machine) {
  SetBarPosition(ui_.ScrollBar2, 0);
  SetBarPosition(ui_.ScrollBar3, 0);
  ui_.ScrollBar3->setEnabled(machine == TDrivingMachine::kMachine2);
  ui_.ScrollBar2->setEnabled(machine == TDrivingMachine::kMachine1);
  ui_.Edit2->setText(QStringLiteral("0"));
  ui_.Edit3->setText(QStringLiteral("0"));
  bench_.ChooseDrivingMachine(machine);  // then the direction is to be chosen again
  ClearSelection({ui_.RadioButton10, ui_.RadioButton9});
}

void TControlPanels::ChooseMachineDirection(TDirection direction) {
  ResetMachineBars();
  bench_.ChooseMachineDirection(direction);
}

// ---------------------------------------------------------------------------------------------
// Speed bars: the set-point, and the panels of choices locked while the speed is not zero

void TControlPanels::SpeedBarScroll(int position) {
  bench_.SetSpeedSetting(position);
  ui_.Edit1->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_.Panel1, ui_.Panel2, ui_.Panel3}, position != 0);
  bench_.RefreshOneOrTwoQuadrant();
}

void TControlPanels::MachineSpeedBarScroll(QLineEdit* box, int position) {
  bench_.SetMachineSpeedSetting(position);
  box->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_.Panel35, ui_.Panel32}, position != 0);
  bench_.RefreshFourQuadrant();
}

QScrollBar* TControlPanels::BarOfBox(const QLineEdit* box) const {
  if (box == ui_.Edit2) return ui_.ScrollBar2;
  if (box == ui_.Edit3) return ui_.ScrollBar3;
  return ui_.ScrollBar1;
}

void TControlPanels::SpeedBoxEntered(QLineEdit* box) {
  if (!box->isModified()) return;  // left without typing anything
  box->setModified(false);
  QScrollBar* bar = BarOfBox(box);
  TSetPoint typed = ParseSetPoint(box->text());
  if (typed.Accepted() && !bar->isEnabled()) {
    typed = {-1, QStringLiteral("Réglage impossible\u00A0: cette barre de vitesse est "
                                "verrouillée (choisissez d'abord la machine motrice).")};
  } else if (typed.Accepted() && !bar->isVisibleTo(window_)) {
    typed = {-1, QStringLiteral("Réglage impossible\u00A0: cette barre de vitesse n'est pas "
                                "affichée.")};
  }
  if (typed.Accepted()) {
    bar->setSliderPosition(typed.position);  // as a drag to there: the scroll handler runs
    box->setToolTip({});
    box->setAccessibleDescription(kBoxHint);
  } else {
    box->setToolTip(typed.refusal);
    box->setAccessibleDescription(typed.refusal);
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), typed.refusal, box);
  }
  // The box shows what the bar's handler writes, also when the bar did not move.
  box->setText(QString::number(TBench::HalveToEven(bar->value())));
}

// ---------------------------------------------------------------------------------------------
// Pictures and data folders

// From the working directory the path stays relative, so an error names it as it is written;
// from another folder it names the file in full.
void TControlPanels::LoadPicture(const char* path) {
  const TDataFolder images = DataFolder("image");
  if (!images.Found()) {
    if (!imagesMissing_) throw EPictureError(QString::fromUtf8(path));
    return;  // said once at start-up
  }
  const QString relative = QString::fromUtf8(path);
  const bool here = images.base == QDir::cleanPath(QDir::currentPath());
  const QString file = here ? relative : QDir(images.base).filePath(relative);
  ui_.Image1->SetPicture(ReadJpegFile(file), VectorSourceOf(file));
}

TDataFolder TControlPanels::DataFolder(const char* name) {
  const bool images = qstrcmp(name, "image") == 0;
  return FindDataFolder(
      QString::fromLatin1(name), images ? QStringLiteral("*.jpg") : QStringLiteral("*.htm"),
      DataFolderBases(QDir::currentPath(), QCoreApplication::applicationDirPath()));
}

void TControlPanels::ReportMissingDataFolders() {
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

// ---------------------------------------------------------------------------------------------
// Small helpers

// Enabled state first, then colours, each in the panels' order.
void TControlPanels::SetPanelsLocked(std::initializer_list<QWidget*> panels, bool locked) {
  for (QWidget* panel : panels)
    panel->setEnabled(!locked);
  for (QWidget* panel : panels)
    SetPanelColor(panel, locked ? clBtnFace : clMoneyGreen);
}

void TControlPanels::ClearSelection(std::initializer_list<QRadioButton*> buttons) {
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

void TControlPanels::SetBarPosition(QScrollBar* bar, int position) {
  const QSignalBlocker quiet(bar);
  bar->setValue(position);
}
