// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/current_wave.h"

#include <algorithm>

namespace {

// Chosen values, not measured ones: 10 mH keeps the current continuous wherever the trace
// shows continuous conduction (E T / 4L below twice the running offset needs L > 8.6 mH), and
// the smoothing inductor divides the ripple by ten.
constexpr double kMotorInductance = 10e-3;
constexpr double kSmoothedInductance = 100e-3;

TCurrentPeriod FlatPeriod(double value) {
  TCurrentPeriod period;
  period.fill(value);
  return period;
}

std::vector<double> Repeated(const TCurrentPeriod& period) {
  std::vector<double> trace;
  trace.reserve(kCurrentTracePoints);
  while (trace.size() < kCurrentTracePoints)
    trace.insert(trace.end(), period.begin(), period.end());
  return trace;
}

TCurrentPeriod WithMean(double mean, const TCurrentPeriod& ripple) {
  TCurrentPeriod current;
  for (std::size_t k = 0; k < kCurrentPeriodSamples; ++k)
    current[k] = mean + ripple[k];
  return current;
}

bool IsChosen(TDirection direction) {
  return direction == TDirection::kClockwise || direction == TDirection::kAnticlockwise;
}

// One- and two-quadrant experiments: a current only once the motor is connected and the
// chopper and direction chosen.
bool MotorCarriesCurrent(const TBench& bench) {
  const TWiring wiring = bench.ConnectionMode();
  return (wiring == TWiring::kWithInductance || wiring == TWiring::kWithoutInductance) &&
         bench.ChopperType() != TChopperType::kNotChosen && IsChosen(bench.RotationDirection());
}

}  // namespace

double MotorMeanCurrent(long double voltage, TDirection direction) {
  return static_cast<double>(TBench::MotorCurrent(voltage, direction));
}

double SmoothingInductance(TExperiment experiment, TWiring wiring) {
  return experiment != TExperiment::kFourQuadrants && wiring == TWiring::kWithInductance
             ? kSmoothedInductance
             : kMotorInductance;
}

TSwitchingSigns SwitchingSigns(std::span<const double, kCurrentPeriodSamples> drawn,
                               TChopperType type, TDirection direction) {
  const int active = direction == TDirection::kAnticlockwise ? -1 : 1;
  TSwitchingSigns signs;
  for (std::size_t k = 0; k < kCurrentPeriodSamples; ++k) {
    const int sign = (drawn[k] > 0) - (drawn[k] < 0);
    signs[k] = type == TChopperType::kPlusOrMinus && sign == -active ? 0 : sign;
  }
  return signs;
}

TCurrentPeriod RippleCurrent(const TSwitchingSigns& signs, double supply, double inductance) {
  double meanVoltage = 0;
  for (int s : signs)
    meanVoltage += s * supply;
  meanVoltage /= kCurrentPeriodSamples;

  // r_100 comes back to r_0 because the voltage steps sum to zero over the period.
  TCurrentPeriod ripple;
  double r = 0;
  double sum = 0;
  for (std::size_t k = 0; k < kCurrentPeriodSamples; ++k) {
    ripple[k] = r;
    sum += r;
    r += kCurrentSampleTime / inductance * (signs[k] * supply - meanVoltage);
  }
  const double mean = sum / kCurrentPeriodSamples;
  for (double& value : ripple)
    value -= mean;
  return ripple;
}

TCurrentWave ComputeCurrentWave(const TBench& bench) {
  // The values PlotWave hands to the red trace.
  std::array<double, kCurrentPeriodSamples> drawn;
  std::transform(bench.WaveSamples().begin(), bench.WaveSamples().begin() + drawn.size(),
                 drawn.begin(), [](long double v) { return static_cast<double>(v); });
  const TSwitchingSigns signs =
      SwitchingSigns(drawn, bench.ChopperType(), bench.RotationDirection());
  const double supply = static_cast<double>(bench.SupplyVoltage());
  const double inductance = SmoothingInductance(bench.ExperimentKind(), bench.ConnectionMode());

  if (bench.ExperimentKind() != TExperiment::kFourQuadrants) {
    if (!MotorCarriesCurrent(bench)) return {Repeated(FlatPeriod(0)), {}};
    const double mean = MotorMeanCurrent(bench.MotorVoltage(), bench.RotationDirection());
    return {Repeated(WithMean(mean, RippleCurrent(signs, supply, inductance))), {}};
  }

  // Four quadrants: the mean is ammeter n°1's value, whatever brought it there. Driven, machine
  // n°1 sees no switching and its inductance filters the trace's noise away.
  const double current1 = static_cast<double>(bench.Current1());
  switch (bench.DrivingMachine()) {
    case TDrivingMachine::kNotChosen:
      break;
    case TDrivingMachine::kMachine1: {
      // The supply delivers |i1| while a switch conducts and nothing while the diodes freewheel.
      const TCurrentPeriod i1 = WithMean(current1, RippleCurrent(signs, supply, inductance));
      TCurrentPeriod i2;
      for (std::size_t k = 0; k < kCurrentPeriodSamples; ++k)
        i2[k] = signs[k] * i1[k];
      return {Repeated(i1), Repeated(i2)};
    }
    case TDrivingMachine::kMachine2:
      return {Repeated(FlatPeriod(current1)),
              Repeated(FlatPeriod(static_cast<double>(bench.Current2())))};
  }
  return {Repeated(FlatPeriod(0)), Repeated(FlatPeriod(0))};
}
