// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/bench.h"

// The bench settings the screen tests draw, each recomputed once set.

// Two quadrants, motor with its inductance, "+ et -" fed at zero, clockwise, bar at `position`.
inline void RunTwoQuadrantsWithInductance(TBench& b, int position) {
  b.SetSupplyVoltage(10.4L);
  b.SetConnectionMode(TWiring::kWithInductance);
  b.SetRotationDirection(TDirection::kClockwise);
  b.SetChopperType(TChopperType::kPlusAndMinusFedAtZero);
  b.SetSpeedSetting(position);
  b.RefreshBench();
}

// Four quadrants, machine n°2 driving clockwise with its bar at the end.
inline void RunFourQuadrantsMachineTwoDriving(TBench& b) {
  b.SetSupplyVoltage(10.4L);
  b.SetConnectionMode(TWiring::kWithoutInductance);
  b.SetChopperType(TChopperType::kPlusOrMinus);
  b.SetDrivingMachine(TDrivingMachine::kMachine2);
  b.SetRotationDirection(TDirection::kClockwise);
  b.SetMachineSpeedSetting(200);
  b.RefreshFourQuadrant();
}
