// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "sim/bench.h"

// The oscilloscope's second channel: the motor current i(t) (i1 in the four-quadrant
// experiment) and, in four quadrants, the supply current i2, on the same 500 X values as the
// voltage trace. No circuit is simulated: the mean is the bench's own current law, and the
// ripple is the course's small-ripple model, L di/dt = v - <v>, driven by the switching that
// the voltage trace shows. So the channel agrees with every reading already on screen.

inline constexpr std::size_t kCurrentPeriodSamples = TBench::kPeriodSamples;  // 0.05 ms apart
inline constexpr std::size_t kCurrentTracePoints = 5 * kCurrentPeriodSamples;
inline constexpr double kCurrentSampleTime = 0.05e-3;  // s
// Ten volts of the voltage axis for one ampere of the channel's: its axis (A) is the voltage
// axis divided by this, so the zero lines coincide.
inline constexpr double kVoltsPerAmpere = 10;

using TSwitchingSigns = std::array<int, kCurrentPeriodSamples>;
using TCurrentPeriod = std::array<double, kCurrentPeriodSamples>;

struct TCurrentWave {
  std::vector<double> i;   // A, kCurrentTracePoints values: five identical periods
  std::vector<double> i2;  // A, the same in the four-quadrant experiment; empty otherwise
};

// The current of machine n°1 as a motor at the mean voltage U (what ammeter n°1 reads in four
// quadrants): TBench::MotorCurrent, as the channel's values are held.
double MotorMeanCurrent(long double voltage, TDirection direction);

// The inductance the current sees, H: the motor's own 10 mH, or 100 mH with the smoothing
// inductor ("avec effet de self"). The four-quadrant bench has none.
double SmoothingInductance(TExperiment experiment, TWiring wiring);

// s_k, the sign of each drawn sample of one period. The "+ ou -" chopper's switch-off spikes
// (samples of the sign opposite to the direction) stand for microsecond commutations that do
// not move the current, so they count as 0.
TSwitchingSigns SwitchingSigns(std::span<const double, kCurrentPeriodSamples> drawn,
                               TChopperType type, TDirection direction);

// The periodic ripple about the mean, A (zero mean over the period): v_k = s_k E held from t_k
// to t_k+1, r_0 = 0, r_k+1 = r_k + dt/L (v_k - <v>).
TCurrentPeriod RippleCurrent(const TSwitchingSigns& signs, double supply, double inductance);

// Channel 2 for the bench as it stands, from the period its voltage trace shows. Reads only:
// no reading or trace of the bench changes.
TCurrentWave ComputeCurrentWave(const TBench& bench);
