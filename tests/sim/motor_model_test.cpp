#include <gtest/gtest.h>

#include <ostream>
#include <tuple>
#include <utility>

#include "bench_recorder.h"

namespace {

// --- One- and two-quadrant bench: RefreshBench after a scroll ---------------------------------

struct BenchRow {
  const char* name;
  long double supply;
  int wiring, direction, type, bar;
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
  b.SupplyVoltage = row.supply;
  b.ConnectionMode = row.wiring;
  b.RotationDirection = row.direction;
  b.ChopperType = row.type;
  b.SpeedSetting = row.bar;
  b.SpeedPercent = TBench::HalveToEven(row.bar);
  b.RefreshBench();
  EXPECT_EQ(rb.readings.Last(inVoltmeter), row.volts);
  EXPECT_EQ(rb.readings.Last(inTachometer), row.speed);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases, RefreshBenchReadings,
    testing::Values(BenchRow{"HalfSpeed", 10.4L, 1, 1, 2, 100, "5,20", "1360"},
                    BenchRow{"FullSpeed", 10.4L, 1, 1, 2, 200, "10,40", "2920"},
                    BenchRow{"FullSpeedAnticlockwise", 10.4L, 1, 0, 2, 200, "-10,40", "-2920"},
                    BenchRow{"OneQuadrantFullSpeed", 11.2L, 2, 1, 1, 200, "11,20", "3160"},
                    // Below 2/3 V the motor stands still.
                    BenchRow{"BelowThreshold", 10.4L, 2, 1, 1, 12, "0,62", "0"},
                    BenchRow{"BelowThresholdAnticlockwise", 10.4L, 2, 0, 1, 12, "-0,62", "0"},
                    // The voltage follows the raw bar position, not the rounded percentage.
                    BenchRow{"FirstStep", 10.4L, 2, 1, 3, 1, "0,05", "0"},
                    // Not connected: the voltmeter follows, the motor does not turn.
                    BenchRow{"NotConnected", 10.4L, 0, 1, 2, 100, "5,20", "0"},
                    BenchRow{"NotConnectedAnticlockwise", 10.4L, 0, 0, 2, 100, "-5,20", "0"},
                    // Negative zero shows no sign.
                    BenchRow{"AnticlockwiseAtZero", 10.4L, 1, 0, 2, 0, "0,00", "0"},
                    // Anything not chosen: the voltage keeps its value (0 here).
                    BenchRow{"WiringNotChosen", 10.4L, 10, 1, 2, 150, "0,00", "0"},
                    BenchRow{"DirectionNotChosen", 10.4L, 1, 10, 2, 150, "0,00", "0"},
                    BenchRow{"TypeNotChosen", 10.4L, 1, 1, 0, 150, "0,00", "0"}),
    [](const testing::TestParamInfo<BenchRow>& info) { return info.param.name; });

TEST(MotorModel, SpeedLawAroundTheThreshold) {
  RecordedBench rb;
  TBench& b = rb.bench;
  b.RotationDirection = 1;
  b.ConnectionMode = 1;
  const std::pair<long double, const char*> rows[] = {
      {0.5L, "0"}, {1.0L, "100"}, {2.0L / 3, "0"}, {5.2L, "1360"}};
  for (auto [volts, speed] : rows) {
    b.MotorVoltage = volts;
    b.UpdateSpeed();
    EXPECT_EQ(rb.readings.Last(inTachometer), speed) << static_cast<double>(volts);
  }
  b.RotationDirection = 0;
  b.MotorVoltage = -1;
  b.UpdateSpeed();
  EXPECT_EQ(rb.readings.Last(inTachometer), "-100");
  EXPECT_EQ(b.MotorSpeed, -100);
}

TEST(MotorModel, SpeedIsResetBeforeEveryComputation) {
  RecordedBench rb;
  TBench& b = rb.bench;
  b.MotorSpeed = 1234;
  b.RotationDirection = 10;
  b.UpdateSpeed();
  EXPECT_EQ(b.MotorSpeed, 0);
  EXPECT_EQ(rb.readings.Last(inTachometer), "0");
}

TEST(MotorModel, VoltageKeepsItsValueUntilEverythingIsChosen) {
  TBench b;
  b.SupplyVoltage = 10.4L;
  b.SpeedSetting = 100;
  b.MotorVoltage = 3;
  const std::tuple<int, int, int> settings[] = {{10, 1, 2}, {1, 10, 2}, {1, 1, 0}, {1, 5, 2}};
  for (auto [wiring, direction, type] : settings) {
    b.ConnectionMode = wiring;
    b.RotationDirection = direction;
    b.ChopperType = type;
    b.UpdateMeanVoltage();
    EXPECT_EQ(b.MotorVoltage, 3);
  }
}

// --- Four-quadrant bench: RefreshFourQuadrant after a scroll ----------------------------------

struct FourQuadrantRow {
  const char* name;
  int machine, direction, bar;
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
  b.SupplyVoltage = 10.4L;  // as the four-quadrant menu entry leaves it
  b.ExperimentKind = 2;
  b.ConnectionMode = 2;
  b.ChopperType = 1;
  b.DrivingMachine = row.machine;
  b.RotationDirection = row.direction;
  b.MachineSpeedSetting = row.bar;
  b.SpeedPercent = TBench::HalveToEven(row.bar);
  b.RefreshFourQuadrant();
  EXPECT_EQ(rb.readings.Last(inVoltmeter), row.volts);
  EXPECT_EQ(rb.readings.Last(inTachometer), row.speed);
  EXPECT_EQ(rb.readings.Last(inAmmeter1), row.amps1);
  EXPECT_EQ(rb.readings.Last(inAmmeter2), row.amps2);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases, FourQuadrantReadings,
    testing::Values(
        FourQuadrantRow{"MotorFullSpeed", 1, 1, 200, "10,40", "2920", "1,08", "1,08"},
        FourQuadrantRow{"MotorStalled", 1, 1, 10, "0,52", "0", "0,41", "0,41"},
        FourQuadrantRow{"MotorAnticlockwise", 1, 0, 200, "-10,40", "-2920", "-1,08", "1,08"},
        FourQuadrantRow{"MotorStalledAnticlockwise", 1, 0, 10, "-0,52", "0", "-0,41", "0,41"},
        FourQuadrantRow{"DrivenFullSpeed", 2, 1, 200, "16,00", "7000", "-0,40", "-0,40"},
        FourQuadrantRow{"DrivenBelowThreshold", 2, 1, 175, "13,94", "6100", "0,00", "0,00"},
        FourQuadrantRow{"DrivenAnticlockwise", 2, 0, 200, "-16,00", "-7000", "0,40", "-0,40"},
        FourQuadrantRow{"DrivenAtRest", 2, 1, 0, "0,00", "0", "0,00", "0,00"}),
    [](const testing::TestParamInfo<FourQuadrantRow>& info) { return info.param.name; });

TEST(MotorModel, CurrentsKeepTheirUnroundedValues) {
  TBench b;
  b.DrivingMachine = 1;
  b.RotationDirection = 1;
  b.MotorVoltage = 10.4L;
  b.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1), 1.0796, 1e-4);
  b.MotorVoltage = 0.52L;
  b.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1), 0.4072, 1e-4);
  // The two branches do not meet: a step of about 0.32 A at 0.65 V.
  b.MotorVoltage = 0.65L;
  b.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1), 0.509, 1e-3);
  b.MotorVoltage = 0.65L + 1e-9L;
  b.UpdateCurrents();
  EXPECT_NEAR(static_cast<double>(b.Current1), 0.831, 1e-3);
  b.DrivingMachine = 2;
  b.MotorVoltage = 13.942857L;
  b.UpdateCurrents();
  EXPECT_EQ(b.Current1, 0);
  EXPECT_EQ(b.Current2, 0);
}

TEST(MotorModel, CodesThatMatchNoBranchLeaveTheValues) {
  TBench b;
  b.Current1 = 0.3L;
  b.Current2 = -0.3L;
  b.MotorVoltage = 4;
  b.MotorSpeed = 500;
  const std::pair<int, int> codes[] = {{1, 10}, {2, 10}, {0, 1}, {3, 0}};
  for (auto [machine, direction] : codes) {
    b.DrivingMachine = machine;
    b.RotationDirection = direction;
    b.UpdateCurrents();
    EXPECT_EQ(b.Current1, 0.3L);
    EXPECT_EQ(b.Current2, -0.3L);
  }
  b.DrivingMachine = 3;
  b.UpdateMachineSpeed();
  EXPECT_EQ(b.MotorSpeed, 500);
}

TEST(MotorModel, ShowMetersWritesVoltmeterThenBothAmmeters) {
  RecordedBench rb;
  rb.bench.MotorVoltage = 1;
  rb.bench.Current1 = 2;
  rb.bench.Current2 = -2;
  rb.bench.SetDecimalSeparator(".");
  rb.bench.ShowMeters();
  const decltype(rb.readings.history) expected = {
      {inVoltmeter, "1.00"}, {inAmmeter1, "2.00"}, {inAmmeter2, "-2.00"}};
  EXPECT_EQ(rb.readings.history, expected);
}

}  // namespace
