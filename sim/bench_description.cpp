// SPDX-License-Identifier: GPL-3.0-or-later
// The bench in its window's words: the one place where the experiments' titles and the
// captions of the panels' buttons meet the bench's state. The captions are the buttons' own
// texts in the window's layout, character for character: the notebook records them.
#include "sim/bench.h"

namespace {

const char* Title(TExperiment experiment) {
  switch (experiment) {
    case TExperiment::kOneQuadrant:
      return "Hacheur 1 quadrant";
    case TExperiment::kTwoQuadrants:
      return "Hacheur 2 quadrants";
    case TExperiment::kFourQuadrants:
      return "Hacheur 4 quadrants";
  }
  return "";
}

const char* Caption(TWiring wiring) {
  switch (wiring) {
    case TWiring::kNotConnected:
      return "moteur non branché";
    case TWiring::kWithoutInductance:
      return "moteur branché sans effet de self";
    case TWiring::kWithInductance:
      return "moteur branché avec effet de self";
    case TWiring::kNotChosen:
      break;
  }
  return "";
}

const char* Caption(TChopperType type) {
  switch (type) {
    case TChopperType::kPlusOrMinus:
      return "type + ou -";
    case TChopperType::kPlusAndMinusFedAtZero:
      return "type + et - ,zéro alimenté";
    case TChopperType::kPlusAndMinusOffAtZero:
      return "type + et -, zéro non alimenté";
    case TChopperType::kNotChosen:
      break;
  }
  return "";
}

const char* Caption(TDirection direction) {
  switch (direction) {
    case TDirection::kClockwise:
      return "horaire";
    case TDirection::kAnticlockwise:
      return "anti-horaire";
    case TDirection::kNotChosen:
      break;
  }
  return "";
}

const char* Caption(TDrivingMachine machine) {
  switch (machine) {
    case TDrivingMachine::kMachine1:
      return "machine n°1 motrice";
    case TDrivingMachine::kMachine2:
      return "machine n°2 motrice";
    case TDrivingMachine::kNotChosen:
      break;
  }
  return "";
}

template <class TChoice>
TPanelChoice Shown(TChoice choice) {
  return {true, Caption(choice)};
}

}  // namespace

// The panels each experiment shows: the one-quadrant experiment fixes the direction and the
// chopper, so only the wiring is asked; the four-quadrant one has its own panel.
TBenchDescription TBench::Description() const {
  TBenchDescription description;
  description.experiment = Title(ExperimentKind_);
  if (!ExperimentChosen_) return description;
  switch (ExperimentKind_) {
    case TExperiment::kOneQuadrant:
      description.wiring = Shown(ConnectionMode_);
      break;
    case TExperiment::kTwoQuadrants:
      description.wiring = Shown(ConnectionMode_);
      description.chopperType = Shown(ChopperType_);
      description.direction = Shown(RotationDirection_);
      break;
    case TExperiment::kFourQuadrants:
      description.drivingMachine = Shown(DrivingMachine_);
      description.direction = Shown(MachineDirectionChoice_);
      break;
  }
  return description;
}
