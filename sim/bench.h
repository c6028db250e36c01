// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "sim/bench_ports.h"
#include "sim/bench_types.h"
#include "sim/random_source.h"

// The simulated bench: a DC supply, a chopper, a permanent-magnet DC motor and, in the
// four-quadrant experiment, a second machine on the same shaft. The window's handlers ask for a
// change through the operations below, and the bench recomputes the readings and the traces
// from its state alone. Everything runs on the user-interface thread, which is what lets every
// builder and plotter share one sample index and the scratch values.
class TBench {
 public:
  // One chopper period is 100 samples; the builders touch indices 0 .. 149.
  static constexpr int kWaveCapacity = 201;
  static constexpr int kClearedSamples = 150;
  static constexpr int kPeriodSamples = 100;

  // The bench as the program starts: the two-quadrant experiment's code, nothing chosen, no
  // supply, every value 0.
  explicit TBench(TBenchOutput* output = nullptr, TBenchTrace* series1 = nullptr,
                  TBenchTrace* series4 = nullptr);

  // Where readings, the red trace (Series1) and the blue zero line (Series4) go.
  void Connect(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4);
  // The decimal separator of the readings (the user's locale in the program).
  void SetDecimalSeparator(std::string separator) { DecimalSeparator_ = std::move(separator); }
  // Replaces the clock-seeded generator; the bench does not own `source`. nullptr restores it.
  void SetRandomSource(TRandomSource* source);

  // A bar position (0 .. 200) halved to a percentage, ties to the even neighbour.
  static int HalveToEven(int position);
  // Ammeter n°1's law for machine n°1 as a motor at the mean voltage U, A: stalled below
  // 0.65 V, running above. 0 when no direction is chosen. The bench's ammeters and the
  // oscilloscope's current channel both read it, so they agree to the last bit.
  static long double MotorCurrent(long double voltage, TDirection direction);

  // --- The bench's part of the window's handlers -------------------------------------------------

  // A menu entry of "Choix de l'essai": the experiment's supply and codes, the speed back to 0,
  // then MotorVoltage from it, BuildChopperWave, PlotWave and UpdateSpeed (a flat trace and
  // zero readings). The machines' set-point is left as it was.
  void ChooseExperiment(TExperiment experiment);

  // The speed bar of the one- and two-quadrant experiments (ScrollBar1): its position and the
  // percentage from it. The recomputation is RefreshOneOrTwoQuadrant.
  void SetSpeedSetting(int position);
  // A wiring button: its code, then `showPicture` (the window shows the wiring's picture),
  // then RefreshOneOrTwoQuadrant. A picture that cannot be read throws out of `showPicture`
  // and so ends the handler with the wiring set but not recomputed.
  void ChooseWiring(TWiring wiring, const std::function<void()>& showPicture = nullptr);
  // RefreshBench, unless the four-quadrant experiment is on (it has its own sequence): after
  // ScrollBar1, once the window has shown the percentage, and at the end of ChooseWiring.
  void RefreshOneOrTwoQuadrant();
  // The direction and chopper-type buttons of the one- and two-quadrant panel: the code, then
  // RefreshBench in the two-quadrant experiment only.
  void ChooseDirection(TDirection direction);
  void ChooseChopperType(TChopperType type);

  // The four-quadrant panel. A driving machine: its code, the machines' set-point back to 0,
  // RefreshFourQuadrant with the direction in force before, then the direction not chosen.
  void ChooseDrivingMachine(TDrivingMachine machine);
  // A direction: its code, the machines' set-point back to 0, RefreshFourQuadrant.
  void ChooseMachineDirection(TDirection direction);
  // The speed bars of machine n°1 (ScrollBar2) and n°2 (ScrollBar3): the position and the
  // percentage from it. The recomputation is RefreshFourQuadrant.
  void SetMachineSpeedSetting(int position);
  // After ScrollBar2 or ScrollBar3, once the window has shown the percentage. Machine n°1 as
  // motor: the chopper fixes the voltage, and the wave is drawn before the new voltage is known
  // (the meters correct the voltmeter). Machine n°2 driving: the speed comes first and machine
  // n°1's voltage follows from it. Nothing until a machine is chosen.
  void RefreshFourQuadrant();

  // The oscilloscope cursor's reference point, ms and V.
  void SetReference(double time, double voltage);

  // --- State: volts, amperes, tr/mn; bar steps (0 .. 200) and percent ----------------------------

  TExperiment ExperimentKind() const { return ExperimentKind_; }
  TWiring ConnectionMode() const { return ConnectionMode_; }
  TDirection RotationDirection() const { return RotationDirection_; }
  TChopperType ChopperType() const { return ChopperType_; }
  TDrivingMachine DrivingMachine() const { return DrivingMachine_; }
  long double SupplyVoltage() const { return SupplyVoltage_; }
  long double MotorVoltage() const { return MotorVoltage_; }
  long double MotorSpeed() const { return MotorSpeed_; }
  long double Current1() const { return Current1_; }
  long double Current2() const { return Current2_; }
  int SpeedSetting() const { return SpeedSetting_; }
  int MachineSpeedSetting() const { return MachineSpeedSetting_; }
  int SpeedPercent() const { return SpeedPercent_; }
  double ReferenceTime() const { return ReferenceTime_; }
  double ReferenceVoltage() const { return ReferenceVoltage_; }
  // The last period built; PlotWave shows indices 0 .. 99.
  const std::array<long double, kWaveCapacity>& WaveSamples() const { return WaveSamples_; }

  // The experiment's title and the captions of the choices its panels show. Before the first
  // choice of experiment no panel shows. In the four-quadrant experiment the direction is the
  // panel's: choosing that experiment again puts the code back to not chosen but leaves the
  // button chosen before selected, until a driving machine is chosen.
  TBenchDescription Description() const;

 private:
  // Tests and benchmarks build their scenes one value and one step at a time through it.
  friend class TBenchSteps;

  // Waveforms.
  void BuildChopperWave();
  void BuildGeneratorWave();
  void PlotWave();

  // Motor and instruments.
  void UpdateMeanVoltage();
  void UpdateSpeed();
  void UpdateMachineVoltage();
  void UpdateMachineSpeed();
  void UpdateCurrents();
  void ShowMeters();

  // The one- and two-quadrant recomputation after a change.
  void RefreshBench();

  void Show(TInstrument instrument, long double value, int decimals);
  void ShowSpeed();

  // Writing at SampleIndex; writes outside the cleared zone are dropped, and every loop stops
  // at its end, so no setting can overrun the buffer or spin.
  void Write(long double value);
  void WriteTimes(long double value, long long count);
  void WriteUntil(long double value, int end);
  void WriteSpike(long double level, long double start, long double limit);
  void FillPeriod(long double value);

  void BuildOnOffWave(long double on, long double spikeStart, int p);
  void BuildForwardWave(long double e, int p);
  void BuildReverseWave(long double e, int p);

  long double Current1_ = 0;
  long double Current2_ = 0;
  long double MotorVoltage_ = 0;
  long double SupplyVoltage_ = 0;
  long double MotorSpeed_ = 0;
  int SpeedPercent_ = 0;
  int SpeedSetting_ = 0;
  int MachineSpeedSetting_ = 0;
  TWiring ConnectionMode_ = TWiring::kNotChosen;
  TDirection RotationDirection_ = TDirection::kNotChosen;
  TChopperType ChopperType_ = TChopperType::kNotChosen;
  TExperiment ExperimentKind_ = TExperiment::kTwoQuadrants;
  TDrivingMachine DrivingMachine_ = TDrivingMachine::kNotChosen;
  double ReferenceTime_ = 0;
  double ReferenceVoltage_ = 0;
  // What the panels show beyond the codes: whether an experiment was chosen yet, and the
  // four-quadrant panel's direction.
  bool ExperimentChosen_ = false;
  TDirection MachineDirectionChoice_ = TDirection::kNotChosen;

  // Scratch of the builders and plotters.
  std::array<long double, kWaveCapacity> WaveSamples_{};
  int SampleIndex_ = 0;
  long double SampleValue_ = 0;
  long double SpikeLevel_ = 0;

  TBenchOutput* Output_ = nullptr;
  TBenchTrace* Series1_ = nullptr;
  TBenchTrace* Series4_ = nullptr;
  std::string DecimalSeparator_ = ",";
  // The bench's own generator unless one is handed in (so a copy never points into another).
  TClockRandomSource ClockRandom_;
  TRandomSource* Random_ = nullptr;
};
