// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/bench.h"

#include <algorithm>
#include <cmath>

#include "sim/reading_format.h"

namespace {

// Motor model: n = 300 U - 200 tr/mn, so the motor only turns above 2/3 V.
constexpr long double kSpeedSlope = 300;
constexpr long double kSpeedOffset = 200;
constexpr long double kFullScale = 200;   // bar steps for a duty ratio of 1
constexpr long double kDrivenSlope = 36;  // tr/mn per step of machine n°2's bar
constexpr long double kStallVoltage = 0.65L;
constexpr long double kRunningSlope = 39.16L;  // volts per ampere above the stall voltage
constexpr long double kRunningOffset = 0.814L;
constexpr long double kGeneratorThreshold = 14;
constexpr long double kGeneratorSlope = 0.2L;

constexpr int kZeroLinePoints = 501;
constexpr int kPeriodsShown = 5;
constexpr long double kSampleTime = 0.05L;  // ms between samples

// Indices where the stretches of a period end; the last ten samples are never shown.
constexpr int kBufferEnd = 110;
constexpr int kOnOffEnd = 102;
constexpr int kHalfPeriod = 50;

constexpr TDirection kClockwise = TDirection::kClockwise;
constexpr TDirection kAnticlockwise = TDirection::kAnticlockwise;

}  // namespace

TBench::TBench(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4)
    : Output_(output), Series1_(series1), Series4_(series4) {}

void TBench::Connect(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4) {
  Output_ = output;
  Series1_ = series1;
  Series4_ = series4;
}

void TBench::SetRandomSource(TRandomSource* source) {
  Random_ = source;
}

int TBench::HalveToEven(int position) {
  int half = position / 2;
  if (position % 2 != 0 && half % 2 != 0) half += position > 0 ? 1 : -1;
  return half;
}

// Machine n°1 as motor draws its stalled current below 0.65 V.
long double TBench::MotorCurrent(long double u, TDirection direction) {
  if (direction == kClockwise)
    return u <= kStallVoltage ? u * 65 / 83 : u / kRunningSlope + kRunningOffset;
  if (direction == kAnticlockwise)
    return u >= -kStallVoltage ? u * 65 / 83 : u / kRunningSlope - kRunningOffset;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Choices

namespace {

// What a menu entry puts the bench in before it draws.
struct TExperimentStart {
  long double supplyVoltage;
  TWiring connectionMode;
  TDirection rotationDirection;
  TChopperType chopperType;
};

// The one-quadrant experiment fixes the direction and the chopper; the four-quadrant one wires
// the motor without inductance and starts with no driving machine.
TExperimentStart StartOf(TExperiment experiment) {
  switch (experiment) {
    case TExperiment::kOneQuadrant:
      return {11.2L, TWiring::kNotChosen, TDirection::kClockwise, TChopperType::kPlusOrMinus};
    case TExperiment::kTwoQuadrants:
      return {10.4L, TWiring::kNotChosen, TDirection::kNotChosen, TChopperType::kNotChosen};
    case TExperiment::kFourQuadrants:
      break;
  }
  return {10.4L, TWiring::kWithoutInductance, TDirection::kNotChosen, TChopperType::kPlusOrMinus};
}

}  // namespace

void TBench::ChooseExperiment(TExperiment experiment) {
  const TExperimentStart start = StartOf(experiment);
  SupplyVoltage_ = start.supplyVoltage;
  ExperimentKind_ = experiment;
  ConnectionMode_ = start.connectionMode;
  RotationDirection_ = start.rotationDirection;
  ChopperType_ = start.chopperType;
  if (experiment == TExperiment::kFourQuadrants) DrivingMachine_ = TDrivingMachine::kNotChosen;
  ExperimentChosen_ = true;

  SpeedSetting_ = 0;
  SpeedPercent_ = HalveToEven(SpeedSetting_);
  // Not UpdateMeanVoltage: whatever is chosen, the voltage follows the percentage (so 0).
  MotorVoltage_ = SpeedPercent_ / 100.0L * SupplyVoltage_;
  BuildChopperWave();
  PlotWave();
  UpdateSpeed();
}

void TBench::SetSpeedSetting(int position) {
  SpeedSetting_ = position;
  SpeedPercent_ = HalveToEven(SpeedSetting_);
}

void TBench::ChooseWiring(TWiring wiring, const std::function<void()>& showPicture) {
  ConnectionMode_ = wiring;
  if (showPicture) showPicture();
  RefreshOneOrTwoQuadrant();
}

void TBench::RefreshOneOrTwoQuadrant() {
  if (ExperimentKind_ != TExperiment::kFourQuadrants) RefreshBench();
}

// The one-quadrant experiment hides these two panels.
void TBench::ChooseDirection(TDirection direction) {
  RotationDirection_ = direction;
  if (ExperimentKind_ == TExperiment::kTwoQuadrants) RefreshBench();
}

void TBench::ChooseChopperType(TChopperType type) {
  ChopperType_ = type;
  if (ExperimentKind_ == TExperiment::kTwoQuadrants) RefreshBench();
}

void TBench::ChooseDrivingMachine(TDrivingMachine machine) {
  DrivingMachine_ = machine;
  MachineSpeedSetting_ = 0;
  SpeedPercent_ = 0;
  RefreshFourQuadrant();
  // The direction has to be chosen again after each choice of machine.
  RotationDirection_ = TDirection::kNotChosen;
  MachineDirectionChoice_ = TDirection::kNotChosen;
}

void TBench::ChooseMachineDirection(TDirection direction) {
  RotationDirection_ = direction;
  MachineDirectionChoice_ = direction;
  MachineSpeedSetting_ = 0;
  SpeedPercent_ = 0;
  RefreshFourQuadrant();
}

void TBench::SetMachineSpeedSetting(int position) {
  MachineSpeedSetting_ = position;
  SpeedPercent_ = HalveToEven(MachineSpeedSetting_);
}

void TBench::SetReference(double time, double voltage) {
  ReferenceTime_ = time;
  ReferenceVoltage_ = voltage;
}

// ---------------------------------------------------------------------------------------------
// Sample writing

// Only the zone each build clears is ever written, so no sample outlives the build after it.
void TBench::Write(long double value) {
  if (SampleIndex_ >= 0 && SampleIndex_ < kClearedSamples)
    WaveSamples_[static_cast<std::size_t>(SampleIndex_)] = value;
  ++SampleIndex_;
}

void TBench::WriteTimes(long double value, long long count) {
  count = std::min<long long>(count, kClearedSamples);
  for (long long i = 0; i < count; ++i)
    Write(value);
}

// Writes at least once, then goes on while SampleIndex_ is below `end`.
void TBench::WriteUntil(long double value, int end) {
  const int stop = std::min(end, kClearedSamples);
  do {
    Write(value);
  } while (SampleIndex_ < stop);
}

// The decaying over-voltage of the motor's inductance: level - L with L halving from `start`
// while |L| stays at or above `limit`; a full spike is five samples.
void TBench::WriteSpike(long double level, long double start, long double limit) {
  SpikeLevel_ = start;
  do {
    Write(level - SpikeLevel_);
    SpikeLevel_ /= 2;
  } while (std::fabs(SpikeLevel_) >= limit);
}

void TBench::FillPeriod(long double value) {
  std::fill_n(WaveSamples_.begin(), kBufferEnd, value);
}

// ---------------------------------------------------------------------------------------------
// Waveforms

void TBench::BuildChopperWave() {
  std::fill_n(WaveSamples_.begin(), kClearedSamples, 0.0L);
  const int p = SpeedPercent_;
  const long double e = SupplyVoltage_;
  if (ChopperType_ == TChopperType::kPlusOrMinus && p != 0) {
    if (RotationDirection_ == kClockwise) BuildOnOffWave(e, 20, p);
    if (RotationDirection_ == kAnticlockwise) BuildOnOffWave(-e, -20, p);
  }
  if (ChopperType_ == TChopperType::kPlusAndMinusFedAtZero ||
      (ChopperType_ == TChopperType::kPlusAndMinusOffAtZero && p != 0)) {
    if (RotationDirection_ == kClockwise) BuildForwardWave(e, p);
    if (RotationDirection_ == kAnticlockwise) BuildReverseWave(e, p);
  }
}

// "+ ou -": `on` for samples 0 .. p, then off; with the inductance the switch-off spike
// opposes the on level.
void TBench::BuildOnOffWave(long double on, long double spikeStart, int p) {
  if (ConnectionMode_ == TWiring::kWithInductance) {
    SampleIndex_ = 0;
    WriteTimes(on, p + 1LL);
    WriteSpike(0, spikeStart, 1);
    WriteUntil(0, kBufferEnd);
  } else if (ConnectionMode_ == TWiring::kNotConnected ||
             ConnectionMode_ == TWiring::kWithoutInductance) {
    SampleIndex_ = 0;
    WriteTimes(on, p + 1LL);
    WriteUntil(0, kOnOffEnd);
  }
}

// "+ et -", clockwise: +E for 50 + h samples, then -E.
void TBench::BuildForwardWave(long double e, int p) {
  const int h = HalveToEven(p);
  if (ConnectionMode_ == TWiring::kWithInductance) {
    SampleIndex_ = 0;
    WriteSpike(e, -20, 1);
    WriteUntil(e, kHalfPeriod + h);
    WriteSpike(-e, 20, 1);
    WriteUntil(-e, kBufferEnd);
  } else if (ConnectionMode_ == TWiring::kNotConnected ||
             ConnectionMode_ == TWiring::kWithoutInductance) {
    SampleIndex_ = 0;
    WriteUntil(e, kHalfPeriod + h);
    WriteUntil(-e, kBufferEnd);
  } else {
    return;
  }
  if (p == 100) FillPeriod(e);
}

// "+ et -", anticlockwise: +E for 50 - h samples (at least one), then -E. Near full speed the
// opening spike is cut short and at 95 % and above it is a single 32 V sample.
void TBench::BuildReverseWave(long double e, int p) {
  const int h = HalveToEven(p);
  if (ConnectionMode_ == TWiring::kWithInductance) {
    SampleIndex_ = 0;
    if (p < 90) {
      WriteSpike(e, -20, 1);
    } else if (p < 95) {
      WriteSpike(e, -20, 5);
    } else {
      Write(32);
    }
    if (p < 97) WriteUntil(e, kHalfPeriod - h);
    WriteSpike(-e, 20, 1);
    WriteUntil(-e, kBufferEnd);
  } else if (ConnectionMode_ == TWiring::kNotConnected ||
             ConnectionMode_ == TWiring::kWithoutInductance) {
    SampleIndex_ = 0;
    WriteUntil(e, kHalfPeriod - h);
    WriteUntil(-e, kBufferEnd);
  } else {
    return;
  }
  if (p == 100) FillPeriod(-e);
}

// Machine n°1 driven as a generator: its voltage with a ripple of -2 % to +1.98 %.
void TBench::BuildGeneratorWave() {
  TRandomSource& random = Random_ != nullptr ? *Random_ : ClockRandom_;
  random.Randomize();
  std::fill_n(WaveSamples_.begin(), kClearedSamples, 0.0L);
  for (std::size_t i = 0; i < kClearedSamples; ++i) {
    const int r = random.Random(200) - 100;
    SampleValue_ = (static_cast<long double>(r) / 5000 + 1) * MotorVoltage_;
    WaveSamples_[i] = SampleValue_;
  }
  SampleIndex_ = kClearedSamples;
}

// Sample times in ms: an extended-precision running sum of 0.05, never reset across the five
// periods. It depends on nothing else, so it is summed once.
static const std::array<double, kZeroLinePoints>& SampleTimes() {
  static const std::array<double, kZeroLinePoints> times = [] {
    std::array<double, kZeroLinePoints> result{};
    long double t = 0;
    for (double& time : result) {
      time = static_cast<double>(t);
      t += kSampleTime;
    }
    return result;
  }();
  return times;
}

// The zero line over 0 .. 25 ms, then five periods of the wave from 0 to 24.95 ms.
void TBench::PlotWave() {
  Show(inVoltmeter, MotorVoltage_, 2);
  if (Series1_ != nullptr) Series1_->ClearPoints();
  if (Series4_ != nullptr) Series4_->ClearPoints();

  const auto& times = SampleTimes();
  static constexpr std::array<double, kZeroLinePoints> zeros{};
  if (Series4_ != nullptr) Series4_->AppendPoints(times.data(), zeros.data(), kZeroLinePoints);
  SampleIndex_ = kZeroLinePoints;

  double values[kPeriodSamples];
  for (std::size_t i = 0; i < kPeriodSamples; ++i)
    values[i] = static_cast<double>(WaveSamples_[i]);
  if (Series1_ != nullptr) {
    for (std::size_t period = 0; period < kPeriodsShown; ++period) {
      Series1_->AppendPoints(times.data() + period * kPeriodSamples, values, kPeriodSamples);
    }
  }
  SampleIndex_ = kPeriodSamples;
}

// ---------------------------------------------------------------------------------------------
// Motor and instruments

void TBench::Show(TInstrument instrument, long double value, int decimals) {
  if (Output_ != nullptr) {
    Output_->ShowReading(instrument, FormatReading(value, decimals, DecimalSeparator_));
  }
}

void TBench::ShowSpeed() {
  Show(inTachometer, MotorSpeed_, 0);
}

// The mean voltage follows the raw bar position, not the rounded percentage.
void TBench::UpdateMeanVoltage() {
  if (ConnectionMode_ == TWiring::kNotChosen || ChopperType_ == TChopperType::kNotChosen) return;
  if (RotationDirection_ == kClockwise) MotorVoltage_ = SpeedSetting_ / kFullScale * SupplyVoltage_;
  if (RotationDirection_ == kAnticlockwise)
    MotorVoltage_ = -SupplyVoltage_ * (SpeedSetting_ / kFullScale);
}

// A wiring not chosen counts as connected; a motor not connected stays still.
void TBench::UpdateSpeed() {
  MotorSpeed_ = 0;
  ShowSpeed();
  if (RotationDirection_ == kClockwise && ConnectionMode_ != TWiring::kNotConnected) {
    MotorSpeed_ = std::max(kSpeedSlope * MotorVoltage_ - kSpeedOffset, 0.0L);
    ShowSpeed();
  }
  if (RotationDirection_ == kAnticlockwise && ConnectionMode_ != TWiring::kNotConnected) {
    MotorSpeed_ = std::min(kSpeedSlope * MotorVoltage_ + kSpeedOffset, 0.0L);
    ShowSpeed();
  }
}

void TBench::UpdateMachineVoltage() {
  if (ConnectionMode_ == TWiring::kNotChosen || ChopperType_ == TChopperType::kNotChosen) return;
  if (DrivingMachine_ == TDrivingMachine::kMachine1) {
    if (RotationDirection_ == kClockwise)
      MotorVoltage_ = MachineSpeedSetting_ / kFullScale * SupplyVoltage_;
    if (RotationDirection_ == kAnticlockwise)
      MotorVoltage_ = -SupplyVoltage_ * (MachineSpeedSetting_ / kFullScale);
  } else if (DrivingMachine_ == TDrivingMachine::kMachine2) {
    // Machine n°1 as a generator: 16 V at 7000 tr/mn.
    if (RotationDirection_ == kClockwise || RotationDirection_ == kAnticlockwise)
      MotorVoltage_ = MotorSpeed_ * 2 / 875;
  }
}

void TBench::UpdateMachineSpeed() {
  if (DrivingMachine_ == TDrivingMachine::kMachine1) {
    UpdateSpeed();
  } else if (DrivingMachine_ == TDrivingMachine::kMachine2) {
    MotorSpeed_ = 0;
    ShowSpeed();
    if (RotationDirection_ == kClockwise && ConnectionMode_ != TWiring::kNotConnected) {
      MotorSpeed_ = std::max(kDrivenSlope * MachineSpeedSetting_ - kSpeedOffset, 0.0L);
      ShowSpeed();
    }
    if (RotationDirection_ == kAnticlockwise && ConnectionMode_ != TWiring::kNotConnected) {
      MotorSpeed_ = std::min(-kDrivenSlope * MachineSpeedSetting_ + kSpeedOffset, 0.0L);
      ShowSpeed();
    }
  }
}

// Driven, machine n°1 returns current only beyond 14 V. Ammeter n°2 reads the magnitude of
// ammeter n°1 with the sign of the power flow. Nothing changes until a direction is chosen.
void TBench::UpdateCurrents() {
  const long double u = MotorVoltage_;
  const bool clockwise = RotationDirection_ == kClockwise;
  if (!clockwise && RotationDirection_ != kAnticlockwise) return;
  if (DrivingMachine_ == TDrivingMachine::kMachine1) {
    Current1_ = MotorCurrent(u, RotationDirection_);
  } else if (DrivingMachine_ == TDrivingMachine::kMachine2) {
    Current1_ = clockwise ? std::min((kGeneratorThreshold - u) * kGeneratorSlope, 0.0L)
                          : std::max(-(u + kGeneratorThreshold) * kGeneratorSlope, 0.0L);
  } else {
    return;
  }
  Current2_ = clockwise ? Current1_ : -Current1_;
}

void TBench::ShowMeters() {
  Show(inVoltmeter, MotorVoltage_, 2);
  Show(inAmmeter1, Current1_, 2);
  Show(inAmmeter2, Current2_, 2);
}

// ---------------------------------------------------------------------------------------------
// Recomputation

void TBench::RefreshBench() {
  UpdateMeanVoltage();
  BuildChopperWave();
  PlotWave();
  UpdateSpeed();
}

void TBench::RefreshFourQuadrant() {
  if (DrivingMachine_ == TDrivingMachine::kMachine1) {
    BuildChopperWave();
    PlotWave();
    UpdateMachineVoltage();
    UpdateMachineSpeed();
  } else if (DrivingMachine_ == TDrivingMachine::kMachine2) {
    UpdateMachineSpeed();
    UpdateMachineVoltage();
    BuildGeneratorWave();
    PlotWave();
  } else {
    return;
  }
  UpdateCurrents();
  ShowMeters();
}
