// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bench_recorder.h"

namespace {

using W = TWiring;
using D = TDirection;
using C = TChopperType;
using M = TDrivingMachine;

// --- One- and two-quadrant bench: RefreshBench after a scroll ---------------------------------

struct BenchRow {
  const char* name;
  long double supply;
  TWiring wiring;
  TDirection direction;
  TChopperType type;
  int bar;
  const char* volts;
  const char* speed;
};

std::ostream& operator<<(std::ostream& out, const BenchRow& row) {
  return out << row.name;
}

class RefreshBenchReadings : public testing::TestWithParam<BenchRow> {};

TEST_P(RefreshBenchReadings, ShowVoltageAndSpeed) {
  const BenchRow& row = GetParam();
  RecordedBench rb;
  TBench& b = rb.bench;
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(row.supply);
  steps.SetConnectionMode(row.wiring);
  steps.SetRotationDirection(row.direction);
  steps.SetChopperType(row.type);
  b.SetSpeedSetting(row.bar);
  steps.RefreshBench();
  EXPECT_EQ(rb.readings.Last(inVoltmeter), row.volts);
  EXPECT_EQ(rb.readings.Last(inTachometer), row.speed);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases, RefreshBenchReadings,
    testing::Values(BenchRow{"HalfSpeed", 10.4L, W::kWithInductance, D::kClockwise,
                             C::kPlusAndMinusFedAtZero, 100, "5,20", "1360"},
                    BenchRow{"FullSpeed", 10.4L, W::kWithInductance, D::kClockwise,
                             C::kPlusAndMinusFedAtZero, 200, "10,40", "2920"},
                    BenchRow{"FullSpeedAnticlockwise", 10.4L, W::kWithInductance, D::kAnticlockwise,
                             C::kPlusAndMinusFedAtZero, 200, "-10,40", "-2920"},
                    BenchRow{"OneQuadrantFullSpeed", 11.2L, W::kWithoutInductance, D::kClockwise,
                             C::kPlusOrMinus, 200, "11,20", "3160"},
                    // Below 2/3 V the motor stands still.
                    BenchRow{"BelowThreshold", 10.4L, W::kWithoutInductance, D::kClockwise,
                             C::kPlusOrMinus, 12, "0,62", "0"},
                    BenchRow{"BelowThresholdAnticlockwise", 10.4L, W::kWithoutInductance,
                             D::kAnticlockwise, C::kPlusOrMinus, 12, "-0,62", "0"},
                    // The voltage follows the raw bar position, not the rounded percentage.
                    BenchRow{"FirstStep", 10.4L, W::kWithoutInductance, D::kClockwise,
                             C::kPlusAndMinusOffAtZero, 1, "0,05", "0"},
                    // Not connected: the voltmeter follows, the motor does not turn.
                    BenchRow{"NotConnected", 10.4L, W::kNotConnected, D::kClockwise,
                             C::kPlusAndMinusFedAtZero, 100, "5,20", "0"},
                    BenchRow{"NotConnectedAnticlockwise", 10.4L, W::kNotConnected,
                             D::kAnticlockwise, C::kPlusAndMinusFedAtZero, 100, "-5,20", "0"},
                    // Negative zero shows no sign.
                    BenchRow{"AnticlockwiseAtZero", 10.4L, W::kWithInductance, D::kAnticlockwise,
                             C::kPlusAndMinusFedAtZero, 0, "0,00", "0"},
                    // Anything not chosen: the voltage keeps its value (0 here).
                    BenchRow{"WiringNotChosen", 10.4L, W::kNotChosen, D::kClockwise,
                             C::kPlusAndMinusFedAtZero, 150, "0,00", "0"},
                    BenchRow{"DirectionNotChosen", 10.4L, W::kWithInductance, D::kNotChosen,
                             C::kPlusAndMinusFedAtZero, 150, "0,00", "0"},
                    BenchRow{"TypeNotChosen", 10.4L, W::kWithInductance, D::kClockwise,
                             C::kNotChosen, 150, "0,00", "0"}),
    [](const testing::TestParamInfo<BenchRow>& info) { return info.param.name; });

TEST(MotorModel, SpeedLawAroundTheThreshold) {
  RecordedBench rb;
  TBench& b = rb.bench;
  const TBenchSteps steps(b);
  steps.SetRotationDirection(D::kClockwise);
  steps.SetConnectionMode(W::kWithInductance);
  const std::pair<long double, const char*> rows[] = {
      {0.5L, "0"}, {1.0L, "100"}, {2.0L / 3, "0"}, {5.2L, "1360"}};
  for (auto [volts, speed] : rows) {
    steps.SetMotorVoltage(volts);
    steps.UpdateSpeed();
    EXPECT_EQ(rb.readings.Last(inTachometer), speed) << static_cast<double>(volts);
  }
  steps.SetRotationDirection(D::kAnticlockwise);
  steps.SetMotorVoltage(-1);
  steps.UpdateSpeed();
  EXPECT_EQ(rb.readings.Last(inTachometer), "-100");
  EXPECT_EQ(b.MotorSpeed(), -100);
}

TEST(MotorModel, SpeedIsResetBeforeEveryComputation) {
  RecordedBench rb;
  TBench& b = rb.bench;
  const TBenchSteps steps(b);
  steps.SetConnectionMode(W::kWithInductance);
  steps.SetRotationDirection(D::kClockwise);
  steps.SetMotorVoltage(5.2L);
  steps.UpdateSpeed();
  ASSERT_EQ(rb.readings.Last(inTachometer), "1360");
  steps.SetRotationDirection(D::kNotChosen);
  steps.UpdateSpeed();
  EXPECT_EQ(b.MotorSpeed(), 0);
  EXPECT_EQ(rb.readings.Last(inTachometer), "0");
}

TEST(MotorModel, VoltageKeepsItsValueUntilEverythingIsChosen) {
  TBench b;
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(10.4L);
  b.SetSpeedSetting(100);
  steps.SetMotorVoltage(3);
  const std::tuple<TWiring, TDirection, TChopperType> settings[] = {
      {W::kNotChosen, D::kClockwise, C::kPlusAndMinusFedAtZero},
      {W::kWithInductance, D::kNotChosen, C::kPlusAndMinusFedAtZero},
      {W::kWithInductance, D::kClockwise, C::kNotChosen}};
  for (auto [wiring, direction, type] : settings) {
    steps.SetConnectionMode(wiring);
    steps.SetRotationDirection(direction);
    steps.SetChopperType(type);
    steps.UpdateMeanVoltage();
    EXPECT_EQ(b.MotorVoltage(), 3);
  }
}

// --- Four-quadrant bench: RefreshFourQuadrant after a scroll ----------------------------------

struct FourQuadrantRow {
  const char* name;
  TDrivingMachine machine;
  TDirection direction;
  int bar;
  const char* volts;
  const char* speed;
  const char* amps1;
  const char* amps2;
};

std::ostream& operator<<(std::ostream& out, const FourQuadrantRow& row) {
  return out << row.name;
}

class FourQuadrantReadings : public testing::TestWithParam<FourQuadrantRow> {};

TEST_P(FourQuadrantReadings, ShowVoltageSpeedAndCurrents) {
  const FourQuadrantRow& row = GetParam();
  RecordedBench rb;
  TBench& b = rb.bench;
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(10.4L);  // as the four-quadrant menu entry leaves it
  steps.SetConnectionMode(W::kWithoutInductance);
  steps.SetChopperType(C::kPlusOrMinus);
  steps.SetDrivingMachine(row.machine);
  steps.SetRotationDirection(row.direction);
  b.SetMachineSpeedSetting(row.bar);
  b.RefreshFourQuadrant();
  EXPECT_EQ(rb.readings.Last(inVoltmeter), row.volts);
  EXPECT_EQ(rb.readings.Last(inTachometer), row.speed);
  EXPECT_EQ(rb.readings.Last(inAmmeter1), row.amps1);
  EXPECT_EQ(rb.readings.Last(inAmmeter2), row.amps2);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases, FourQuadrantReadings,
    testing::Values(FourQuadrantRow{"MotorFullSpeed", M::kMachine1, D::kClockwise, 200, "10,40",
                                    "2920", "1,08", "1,08"},
                    FourQuadrantRow{"MotorStalled", M::kMachine1, D::kClockwise, 10, "0,52", "0",
                                    "0,41", "0,41"},
                    FourQuadrantRow{"MotorAnticlockwise", M::kMachine1, D::kAnticlockwise, 200,
                                    "-10,40", "-2920", "-1,08", "1,08"},
                    FourQuadrantRow{"MotorStalledAnticlockwise", M::kMachine1, D::kAnticlockwise,
                                    10, "-0,52", "0", "-0,41", "0,41"},
                    FourQuadrantRow{"DrivenFullSpeed", M::kMachine2, D::kClockwise, 200, "16,00",
                                    "7000", "-0,40", "-0,40"},
                    FourQuadrantRow{"DrivenBelowThreshold", M::kMachine2, D::kClockwise, 175,
                                    "13,94", "6100", "0,00", "0,00"},
                    FourQuadrantRow{"DrivenAnticlockwise", M::kMachine2, D::kAnticlockwise, 200,
                                    "-16,00", "-7000", "0,40", "-0,40"},
                    FourQuadrantRow{"DrivenAtRest", M::kMachine2, D::kClockwise, 0, "0,00", "0",
                                    "0,00", "0,00"}),
    [](const testing::TestParamInfo<FourQuadrantRow>& info) { return info.param.name; });

TEST(MotorModel, CurrentsKeepTheirUnroundedValues) {
  TBench b;
  const TBenchSteps steps(b);
  steps.SetDrivingMachine(M::kMachine1);
  steps.SetRotationDirection(D::kClockwise);
  steps.SetMotorVoltage(10.4L);
  steps.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1()), 1.0796, 1e-4);
  steps.SetMotorVoltage(0.52L);
  steps.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1()), 0.4072, 1e-4);
  // The two branches do not meet: a step of about 0.32 A at 0.65 V.
  steps.SetMotorVoltage(0.65L);
  steps.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1()), 0.509, 1e-3);
  steps.SetMotorVoltage(0.65L + 1e-9L);
  steps.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1()), 0.831, 1e-3);
  steps.SetDrivingMachine(M::kMachine2);
  steps.SetMotorVoltage(13.942857L);
  steps.UpdateCurrents();
  EXPECT_EQ(b.Current1(), 0);
  EXPECT_EQ(b.Current2(), 0);
}

TEST(MotorModel, ChoicesNotMadeLeaveTheValues) {
  TBench b;
  const TBenchSteps steps(b);
  // Machine n°1 anticlockwise at -4 V: currents of opposite signs, and a speed.
  steps.SetConnectionMode(W::kWithoutInductance);
  steps.SetDrivingMachine(M::kMachine1);
  steps.SetRotationDirection(D::kAnticlockwise);
  steps.SetMotorVoltage(-4);
  steps.UpdateCurrents();
  steps.UpdateSpeed();
  const long double current1 = b.Current1(), current2 = b.Current2(), speed = b.MotorSpeed();
  ASSERT_LT(current1, 0);
  ASSERT_EQ(current2, -current1);
  ASSERT_LT(speed, 0);
  const std::pair<TDrivingMachine, TDirection> choices[] = {{M::kMachine1, D::kNotChosen},
                                                            {M::kMachine2, D::kNotChosen},
                                                            {M::kNotChosen, D::kClockwise},
                                                            {M::kNotChosen, D::kAnticlockwise}};
  for (auto [machine, direction] : choices) {
    steps.SetDrivingMachine(machine);
    steps.SetRotationDirection(direction);
    steps.UpdateCurrents();
    EXPECT_EQ(b.Current1(), current1);
    EXPECT_EQ(b.Current2(), current2);
  }
  steps.SetDrivingMachine(M::kNotChosen);
  steps.UpdateMachineSpeed();
  EXPECT_EQ(b.MotorSpeed(), speed);
}

// The three meters after a four-quadrant refresh: the voltmeter first, then the two ammeters,
// each rounded to two decimals with the desktop's mark. Currents worked out by hand from the
// machine's laws (running slope 39,16 V/A and 0,814 A offset, stall below 0,65 V at 65/83 A/V,
// generator 0,2 A/V beyond 14 V).
TEST(MotorModel, MetersShowVoltageThenBothCurrents) {
  struct Case {
    M machine;
    D direction;
    long double volts;
    const char* separator;
    std::vector<std::pair<TInstrument, std::string>> expected;
  };
  const Case cases[] = {
      {M::kMachine2,
       D::kAnticlockwise,
       -24,
       ".",
       {{inVoltmeter, "-24.00"}, {inAmmeter1, "2.00"}, {inAmmeter2, "-2.00"}}},
      {M::kMachine2,
       D::kClockwise,
       20,
       ",",
       {{inVoltmeter, "20,00"}, {inAmmeter1, "-1,20"}, {inAmmeter2, "-1,20"}}},
      {M::kMachine1,
       D::kClockwise,
       12,
       ",",
       {{inVoltmeter, "12,00"}, {inAmmeter1, "1,12"}, {inAmmeter2, "1,12"}}},
      {M::kMachine1,
       D::kAnticlockwise,
       -0.5L,
       ",",
       {{inVoltmeter, "-0,50"}, {inAmmeter1, "-0,39"}, {inAmmeter2, "0,39"}}},
  };
  for (const Case& c : cases) {
    RecordedBench rb;
    rb.steps.SetDrivingMachine(c.machine);
    rb.steps.SetRotationDirection(c.direction);
    rb.steps.SetMotorVoltage(c.volts);
    rb.steps.UpdateCurrents();
    rb.bench.SetDecimalSeparator(c.separator);
    rb.steps.ShowMeters();
    EXPECT_EQ(rb.readings.history, c.expected) << static_cast<double>(c.volts) << " V";
  }
}

}  // namespace
