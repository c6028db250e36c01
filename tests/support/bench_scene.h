// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/bench.h"

// The bench one value and one step at a time, as no button of the window could set it: tests
// pin each step's writes, benchmarks time them, screen tests draw the scenes below. The window
// only reaches the bench through its handlers.
class TBenchSteps {
 public:
  explicit TBenchSteps(TBench& bench) : bench_(bench) {}

  // One value, nothing recomputed.
  void SetSupplyVoltage(long double volts) const { bench_.SupplyVoltage_ = volts; }
  void SetMotorVoltage(long double volts) const { bench_.MotorVoltage_ = volts; }
  void SetConnectionMode(TWiring wiring) const { bench_.ConnectionMode_ = wiring; }
  void SetRotationDirection(TDirection direction) const { bench_.RotationDirection_ = direction; }
  void SetChopperType(TChopperType type) const { bench_.ChopperType_ = type; }
  void SetDrivingMachine(TDrivingMachine machine) const { bench_.DrivingMachine_ = machine; }

  // The steps the handlers are made of.
  void BuildChopperWave() const { bench_.BuildChopperWave(); }
  void BuildGeneratorWave() const { bench_.BuildGeneratorWave(); }
  void UpdateMeanVoltage() const { bench_.UpdateMeanVoltage(); }
  void UpdateSpeed() const { bench_.UpdateSpeed(); }
  void UpdateMachineSpeed() const { bench_.UpdateMachineSpeed(); }
  void UpdateCurrents() const { bench_.UpdateCurrents(); }
  void ShowMeters() const { bench_.ShowMeters(); }
  void RefreshBench() const { bench_.RefreshBench(); }

 private:
  TBench& bench_;
};

// --- Scenes ------------------------------------------------------------------------------------

// Two quadrants, motor with its inductance, "+ et -" fed at zero, clockwise, bar at `position`
// and not yet recomputed: the refresh is what benchmarks time.
inline void SetUpTwoQuadrantBench(TBench& b, int position) {
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(10.4L);
  steps.SetConnectionMode(TWiring::kWithInductance);
  steps.SetRotationDirection(TDirection::kClockwise);
  steps.SetChopperType(TChopperType::kPlusAndMinusFedAtZero);
  b.SetSpeedSetting(position);
}

// The same, recomputed.
inline void RunTwoQuadrantsWithInductance(TBench& b, int position) {
  SetUpTwoQuadrantBench(b, position);
  TBenchSteps(b).RefreshBench();
}

// Four quadrants, machine n°2 driving clockwise with its bar at the end.
inline void RunFourQuadrantsMachineTwoDriving(TBench& b) {
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(10.4L);
  steps.SetConnectionMode(TWiring::kWithoutInductance);
  steps.SetChopperType(TChopperType::kPlusOrMinus);
  steps.SetDrivingMachine(TDrivingMachine::kMachine2);
  steps.SetRotationDirection(TDirection::kClockwise);
  b.SetMachineSpeedSetting(200);
  b.RefreshFourQuadrant();
}
