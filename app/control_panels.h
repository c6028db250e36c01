// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <initializer_list>

#include "app/data_folders.h"
#include "sim/bench_types.h"

namespace Ui {
class TForm1;
}
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QWidget;
class TBench;
class TInstruments;

// The bench's control panels in the window: the experiment's panels and picture, the wiring,
// chopper, direction and machine buttons, the speed bars and the boxes beside them. Each choice
// does the widgets' part around the bench's operation, in the order the window always had.
class TControlPanels : public QObject {
  Q_OBJECT

 public:
  TControlPanels(QWidget* window, Ui::TForm1& ui, TBench& bench, TInstruments& instruments);

  // The start: every instrument "inactif", missing data folders said once, the empty picture.
  void ShowStart();
  void ChooseExperiment(TExperiment experiment, const char* picture);
  // A picture that cannot be read ends the choice with the wiring set but not recomputed.
  void ChooseWiring(TWiring wiring, const char* twoQuadrantPicture, const char* oneQuadrantPicture);
  void ChooseMachine(TDrivingMachine machine);
  void ChooseMachineDirection(TDirection direction);
  // The speed bar of one and two quadrants, and the machines' (Edit2 or Edit3 beside).
  void SpeedBarScroll(int position);
  void MachineSpeedBarScroll(QLineEdit* box, int position);
  // A percentage typed in `box` (Edit1, Edit2 or Edit3) moves its bar there as a drag would;
  // anything else puts the box's value back and says why in its tool tip.
  void SpeedBoxEntered(QLineEdit* box);

  // Where "image" (with pictures) or "aide" (with pages) is, looked for again each time.
  static TDataFolder DataFolder(const char* name);

 signals:
  // An experiment is chosen, once its panels are reset and before its picture shows: channel 2
  // names its currents after it.
  void FourQuadrantsChosen(bool fourQuadrants);

 private:
  void ResetSpeedControls(bool fourQuadrant);
  void ShowExperimentPanels(TExperiment experiment);
  void ResetMachineBars();
  QScrollBar* BarOfBox(const QLineEdit* box) const;
  // Loads "image/..." into the picture box; raises the picture error when it cannot.
  void LoadPicture(const char* path);
  void ReportMissingDataFolders();
  static void SetPanelsLocked(std::initializer_list<QWidget*> panels, bool locked);
  static void ClearSelection(std::initializer_list<QRadioButton*> buttons);
  static void SetBarPosition(QScrollBar* bar, int position);

  QWidget* window_;
  Ui::TForm1& ui_;
  TBench& bench_;
  TInstruments& instruments_;
  // Set once the folders' absence has been said: pictures are then skipped without a word.
  bool imagesMissing_ = false;
};
