// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The bench's choices. Each enumerator keeps as its value the code the bench has always used
// for it, so an old code is easy to look up here; nothing converts between the two.

// The experiment of the menu "Choix de l'essai". There is no "none": the program starts with
// the two-quadrant experiment's code (and its title in the records) before any panel shows.
enum class TExperiment {
  kTwoQuadrants = 1,   // "Hacheur 2 quadrants: visualisation des tensions."
  kFourQuadrants = 2,  // "Hacheur 4 quadrants: 1ere approche"
  kOneQuadrant = 3,    // "Hacheur 1 quadrant: visualisation des tensions"
};

// How the motor is wired to the chopper.
enum class TWiring {
  kNotConnected = 0,       // "moteur non branché"
  kWithInductance = 1,     // "moteur branché avec effet de self": switching spikes shown
  kWithoutInductance = 2,  // "moteur branché sans effet de self"
  kNotChosen = 10,
};

enum class TDirection {
  kAnticlockwise = 0,  // "anti-horaire": negative voltage and speed
  kClockwise = 1,      // "horaire"
  kNotChosen = 10,
};

enum class TChopperType {
  kNotChosen = 0,
  kPlusOrMinus = 1,            // "type + ou -": +E (or -E) during the on-time, 0 otherwise
  kPlusAndMinusFedAtZero = 2,  // "type + et - ,zéro alimenté": +E / -E, switching even at 0 %
  kPlusAndMinusOffAtZero = 3,  // "type + et -, zéro non alimenté": the same, off at 0 %
};

// Four-quadrant experiment: which machine drives the shaft.
enum class TDrivingMachine {
  kNotChosen = 0,
  kMachine1 = 1,  // "machine n°1 motrice": fed by the chopper, speed from ScrollBar2
  kMachine2 = 2,  // "machine n°2 motrice": drives machine n°1 as a generator, from ScrollBar3
};

// One panel of choices as the window shows it: whether the experiment on screen has that
// panel, and the caption of its selected button ("" when none is, or when it is not shown).
struct TPanelChoice {
  bool shown = false;
  std::string caption;

  bool operator==(const TPanelChoice&) const = default;
};

// The bench in its window's words (UTF-8): the experiment's title and each panel's choice,
// the texts the notebook records and the file names and reports are made of.
struct TBenchDescription {
  std::string experiment;  // "Hacheur 1 quadrant", "Hacheur 2 quadrants", "Hacheur 4 quadrants"
  TPanelChoice wiring;
  TPanelChoice chopperType;
  TPanelChoice direction;  // the two-quadrant panel's, or the four-quadrant panel's
  TPanelChoice drivingMachine;

  bool operator==(const TBenchDescription&) const = default;
};
