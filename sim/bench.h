#pragma once

#include <array>
#include <memory>
#include <string>

#include "sim/bench_ports.h"
#include "sim/random_source.h"

// The simulated bench: a DC supply, a chopper, a permanent-magnet DC motor and, in the
// four-quadrant experiment, a second machine on the same shaft. Its state is a set of plain
// fields that the window's handlers set; its operations recompute the readings and the traces
// from that state alone. Everything runs on the user-interface thread, which is what lets every
// builder and plotter share SampleIndex, SampleValue and SpikeLevel.
class TBench {
 public:
  // Codes that mean "not chosen": 10 for the wiring and the direction, 0 for the others.
  static constexpr int kNotChosen = 10;

  // One chopper period is 100 samples; the builders touch indices 0 .. 149.
  static constexpr int kWaveCapacity = 201;
  static constexpr int kClearedSamples = 150;
  static constexpr int kPeriodSamples = 100;

  TBench(TBenchOutput* output = nullptr, TBenchTrace* series1 = nullptr,
         TBenchTrace* series4 = nullptr);

  // Where readings, the red trace (Series1) and the blue zero line (Series4) go.
  void Connect(TBenchOutput* output, TBenchTrace* series1, TBenchTrace* series4);
  // The decimal separator of the readings (the user's locale in the program).
  void SetDecimalSeparator(std::string separator) { DecimalSeparator_ = std::move(separator); }
  // Replaces the clock-seeded generator; the bench does not own `source`. nullptr restores it.
  void SetRandomSource(TRandomSource* source);

  // A bar position (0 .. 200) halved to a percentage, ties to the even neighbour.
  static int HalveToEven(int position);

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

  // Recomputation after a change: one- and two-quadrant, and four-quadrant.
  void RefreshBench();
  void RefreshFourQuadrant();

  // State. Volts, amperes, tr/mn; integers are codes, bar steps or percent.
  long double Current1 = 0;
  long double Current2 = 0;
  long double MotorVoltage = 0;
  long double SampleValue = 0;
  long double SupplyVoltage = 0;
  long double SpikeLevel = 0;
  long double MotorSpeed = 0;
  int SpeedPercent = 0;
  int SpeedSetting = 0;
  int MachineSpeedSetting = 0;
  int SampleIndex = 0;
  int ConnectionMode = 0;
  int RotationDirection = 0;
  int ChopperType = 0;
  int ExperimentKind = 0;
  int DrivingMachine = 0;
  double ReferenceTime = 0;     // ms, the oscilloscope cursor's reference point
  double ReferenceVoltage = 0;  // V
  std::array<long double, kWaveCapacity> WaveSamples{};

 private:
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

  TBenchOutput* Output_ = nullptr;
  TBenchTrace* Series1_ = nullptr;
  TBenchTrace* Series4_ = nullptr;
  std::string DecimalSeparator_ = ",";
  TClockRandomSource ClockRandom_;
  TRandomSource* Random_ = &ClockRandom_;
};
