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

}  // namespace

TBench::TBench(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4)
    : Output_(output), Series1_(series1), Series4_(series4) {}

void TBench::Connect(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4) {
  Output_ = output;
  Series1_ = series1;
  Series4_ = series4;
}

void TBench::SetRandomSource(TRandomSource* source) {
  Random_ = source != nullptr ? source : &ClockRandom_;
}

int TBench::HalveToEven(int position) {
  int half = position / 2;
  if (position % 2 != 0 && half % 2 != 0) half += position > 0 ? 1 : -1;
  return half;
}

// ---------------------------------------------------------------------------------------------
// Sample writing

// Only the zone each build clears is ever written, so no sample outlives the build after it.
void TBench::Write(long double value) {
  if (SampleIndex >= 0 && SampleIndex < kClearedSamples) WaveSamples[SampleIndex] = value;
  ++SampleIndex;
}

void TBench::WriteTimes(long double value, long long count) {
  count = std::min<long long>(count, kClearedSamples);
  for (long long i = 0; i < count; ++i)
    Write(value);
}

// Writes at least once, then goes on while SampleIndex is below `end`.
void TBench::WriteUntil(long double value, int end) {
  const int stop = std::min(end, kClearedSamples);
  do {
    Write(value);
  } while (SampleIndex < stop);
}

// The decaying over-voltage of the motor's inductance: level - L with L halving from `start`
// while |L| stays at or above `limit`; a full spike is five samples.
void TBench::WriteSpike(long double level, long double start, long double limit) {
  SpikeLevel = start;
  do {
    Write(level - SpikeLevel);
    SpikeLevel /= 2;
  } while (std::fabs(SpikeLevel) >= limit);
}

void TBench::FillPeriod(long double value) {
  std::fill_n(WaveSamples.begin(), kBufferEnd, value);
}

// ---------------------------------------------------------------------------------------------
// Waveforms

void TBench::BuildChopperWave() {
  std::fill_n(WaveSamples.begin(), kClearedSamples, 0.0L);
  const int p = SpeedPercent;
  const long double e = SupplyVoltage;
  if (ChopperType == 1 && p != 0) {
    if (RotationDirection == 1) BuildOnOffWave(e, 20, p);
    if (RotationDirection == 0) BuildOnOffWave(-e, -20, p);
  }
  if (ChopperType == 2 || (ChopperType == 3 && p != 0)) {
    if (RotationDirection == 1) BuildForwardWave(e, p);
    if (RotationDirection == 0) BuildReverseWave(e, p);
  }
}

// "+ ou -": `on` for samples 0 .. p, then off; with the inductance the switch-off spike
// opposes the on level.
void TBench::BuildOnOffWave(long double on, long double spikeStart, int p) {
  if (ConnectionMode == 1) {
    SampleIndex = 0;
    WriteTimes(on, p + 1LL);
    WriteSpike(0, spikeStart, 1);
    WriteUntil(0, kBufferEnd);
  } else if (ConnectionMode == 0 || ConnectionMode == 2) {
    SampleIndex = 0;
    WriteTimes(on, p + 1LL);
    WriteUntil(0, kOnOffEnd);
  }
}

// "+ et -", clockwise: +E for 50 + h samples, then -E.
void TBench::BuildForwardWave(long double e, int p) {
  const int h = HalveToEven(p);
  if (ConnectionMode == 1) {
    SampleIndex = 0;
    WriteSpike(e, -20, 1);
    WriteUntil(e, kHalfPeriod + h);
    WriteSpike(-e, 20, 1);
    WriteUntil(-e, kBufferEnd);
  } else if (ConnectionMode == 0 || ConnectionMode == 2) {
    SampleIndex = 0;
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
  if (ConnectionMode == 1) {
    SampleIndex = 0;
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
  } else if (ConnectionMode == 0 || ConnectionMode == 2) {
    SampleIndex = 0;
    WriteUntil(e, kHalfPeriod - h);
    WriteUntil(-e, kBufferEnd);
  } else {
    return;
  }
  if (p == 100) FillPeriod(-e);
}

// Machine n°1 driven as a generator: its voltage with a ripple of -2 % to +1.98 %.
void TBench::BuildGeneratorWave() {
  Random_->Randomize();
  std::fill_n(WaveSamples.begin(), kClearedSamples, 0.0L);
  for (SampleIndex = 0; SampleIndex < kClearedSamples; ++SampleIndex) {
    const int r = Random_->Random(200) - 100;
    SampleValue = (static_cast<long double>(r) / 5000 + 1) * MotorVoltage;
    WaveSamples[SampleIndex] = SampleValue;
  }
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
  Show(inVoltmeter, MotorVoltage, 2);
  if (Series1_ != nullptr) Series1_->ClearPoints();
  if (Series4_ != nullptr) Series4_->ClearPoints();

  const auto& times = SampleTimes();
  static constexpr std::array<double, kZeroLinePoints> zeros{};
  if (Series4_ != nullptr) Series4_->AppendPoints(times.data(), zeros.data(), kZeroLinePoints);
  SampleIndex = kZeroLinePoints;

  double values[kPeriodSamples];
  for (int i = 0; i < kPeriodSamples; ++i)
    values[i] = static_cast<double>(WaveSamples[i]);
  if (Series1_ != nullptr) {
    for (int period = 0; period < kPeriodsShown; ++period) {
      Series1_->AppendPoints(times.data() + period * kPeriodSamples, values, kPeriodSamples);
    }
  }
  SampleIndex = kPeriodSamples;
}

// ---------------------------------------------------------------------------------------------
// Motor and instruments

void TBench::Show(TInstrument instrument, long double value, int decimals) {
  if (Output_ != nullptr) {
    Output_->ShowReading(instrument, FormatReading(value, decimals, DecimalSeparator_));
  }
}

void TBench::ShowSpeed() {
  Show(inTachometer, MotorSpeed, 0);
}

// The mean voltage follows the raw bar position, not the rounded percentage.
void TBench::UpdateMeanVoltage() {
  if (ConnectionMode == kNotChosen || ChopperType == 0) return;
  if (RotationDirection == 1) MotorVoltage = SpeedSetting / kFullScale * SupplyVoltage;
  if (RotationDirection == 0) MotorVoltage = -SupplyVoltage * (SpeedSetting / kFullScale);
}

// A wiring not chosen counts as connected; a motor not connected stays still.
void TBench::UpdateSpeed() {
  MotorSpeed = 0;
  ShowSpeed();
  if (RotationDirection == 1 && ConnectionMode != 0) {
    MotorSpeed = std::max(kSpeedSlope * MotorVoltage - kSpeedOffset, 0.0L);
    ShowSpeed();
  }
  if (RotationDirection == 0 && ConnectionMode != 0) {
    MotorSpeed = std::min(kSpeedSlope * MotorVoltage + kSpeedOffset, 0.0L);
    ShowSpeed();
  }
}

void TBench::UpdateMachineVoltage() {
  if (ConnectionMode == kNotChosen || ChopperType == 0) return;
  if (DrivingMachine == 1) {
    if (RotationDirection == 1) MotorVoltage = MachineSpeedSetting / kFullScale * SupplyVoltage;
    if (RotationDirection == 0) MotorVoltage = -SupplyVoltage * (MachineSpeedSetting / kFullScale);
  } else if (DrivingMachine == 2) {
    // Machine n°1 as a generator: 16 V at 7000 tr/mn.
    if (RotationDirection == 1 || RotationDirection == 0) MotorVoltage = MotorSpeed * 2 / 875;
  }
}

void TBench::UpdateMachineSpeed() {
  if (DrivingMachine == 1) {
    UpdateSpeed();
  } else if (DrivingMachine == 2) {
    MotorSpeed = 0;
    ShowSpeed();
    if (RotationDirection == 1 && ConnectionMode != 0) {
      MotorSpeed = std::max(kDrivenSlope * MachineSpeedSetting - kSpeedOffset, 0.0L);
      ShowSpeed();
    }
    if (RotationDirection == 0 && ConnectionMode != 0) {
      MotorSpeed = std::min(-kDrivenSlope * MachineSpeedSetting + kSpeedOffset, 0.0L);
      ShowSpeed();
    }
  }
}

// Machine n°1 as motor draws its stalled current below 0.65 V; driven, it returns current only
// beyond 14 V. Ammeter n°2 reads the magnitude of ammeter n°1 with the sign of the power flow.
void TBench::UpdateCurrents() {
  const long double u = MotorVoltage;
  if (DrivingMachine == 1 && RotationDirection == 1) {
    Current1 = u <= kStallVoltage ? u * 65 / 83 : u / kRunningSlope + kRunningOffset;
    Current2 = Current1;
  } else if (DrivingMachine == 1 && RotationDirection == 0) {
    Current1 = u >= -kStallVoltage ? u * 65 / 83 : u / kRunningSlope - kRunningOffset;
    Current2 = -Current1;
  } else if (DrivingMachine == 2 && RotationDirection == 1) {
    Current1 = std::min((kGeneratorThreshold - u) * kGeneratorSlope, 0.0L);
    Current2 = Current1;
  } else if (DrivingMachine == 2 && RotationDirection == 0) {
    Current1 = std::max(-(u + kGeneratorThreshold) * kGeneratorSlope, 0.0L);
    Current2 = -Current1;
  }
}

void TBench::ShowMeters() {
  Show(inVoltmeter, MotorVoltage, 2);
  Show(inAmmeter1, Current1, 2);
  Show(inAmmeter2, Current2, 2);
}

// ---------------------------------------------------------------------------------------------
// Recomputation

void TBench::RefreshBench() {
  UpdateMeanVoltage();
  BuildChopperWave();
  PlotWave();
  UpdateSpeed();
}

// Machine n°1 as motor: the chopper fixes the voltage, and the wave is drawn before the new
// voltage is known (ShowMeters corrects the voltmeter). Machine n°2 driving: the speed comes
// first and machine n°1's voltage follows from it.
void TBench::RefreshFourQuadrant() {
  if (DrivingMachine == 1) {
    BuildChopperWave();
    PlotWave();
    UpdateMachineVoltage();
    UpdateMachineSpeed();
  } else if (DrivingMachine == 2) {
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
