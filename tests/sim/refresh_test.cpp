// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "bench_recorder.h"

namespace {

TEST(HalveToEven, RoundsBarPositionsHalfToEven) {
  const std::pair<int, int> rows[] = {{0, 0},     {1, 0},   {2, 1},    {3, 2},    {5, 2},
                                      {7, 4},     {99, 50}, {100, 50}, {101, 50}, {199, 100},
                                      {200, 100}, {-1, 0},  {-3, -2},  {-5, -2}};
  for (auto [position, percent] : rows) {
    EXPECT_EQ(TBench::HalveToEven(position), percent) << "position " << position;
  }
}

TEST(RefreshBench, RedrawsBothTracesFromTheNewWave) {
  RecordedBench rb;
  SetUpTwoQuadrantBench(rb.bench, 100);
  rb.steps.RefreshBench();
  rb.steps.RefreshBench();  // a second refresh replaces, never adds

  EXPECT_EQ(rb.series1.clears, 2);
  EXPECT_EQ(rb.series4.clears, 2);
  ASSERT_EQ(rb.series4.points.size(), 501u);
  ASSERT_EQ(rb.series1.points.size(), 500u);
  for (std::size_t i = 0; i < 501; ++i) {
    EXPECT_NEAR(rb.series4.points[i].first, 0.05 * i, 1e-9) << i;
    EXPECT_EQ(rb.series4.points[i].second, 0.0);
  }
  EXPECT_NEAR(rb.series4.points.back().first, 25.0, 1e-9);
  for (std::size_t i = 0; i < 500; ++i) {
    EXPECT_NEAR(rb.series1.points[i].first, 0.05 * i, 1e-9) << i;
    EXPECT_EQ(rb.series1.points[i].second, static_cast<double>(rb.bench.WaveSamples()[i % 100]))
        << i;
  }
  EXPECT_NEAR(rb.series1.points.back().first, 24.95, 1e-9);
  // Type 2, clockwise, with inductance at p = 50: the spike opens each period.
  EXPECT_DOUBLE_EQ(rb.series1.points[0].second, 30.4);
  EXPECT_DOUBLE_EQ(rb.series1.points[300].second, 30.4);
  EXPECT_DOUBLE_EQ(rb.series1.points[99].second, -10.4);
}

TEST(RefreshBench, WritesVoltmeterThenTachometer) {
  RecordedBench rb;
  SetUpTwoQuadrantBench(rb.bench, 200);
  rb.steps.RefreshBench();
  const decltype(rb.readings.history) expected = {
      {inVoltmeter, "10,40"}, {inTachometer, "0"}, {inTachometer, "2920"}};
  EXPECT_EQ(rb.readings.history, expected);
}

TEST(RefreshBench, BarMovedBeforeAWiringIsChosenLeavesEverythingAtZero) {
  RecordedBench rb;
  SetUpTwoQuadrantBench(rb.bench, 120);
  rb.steps.SetConnectionMode(TWiring::kNotChosen);
  rb.steps.SetChopperType(TChopperType::kPlusOrMinus);
  rb.steps.RefreshBench();
  EXPECT_EQ(rb.bench.MotorVoltage(), 0);
  EXPECT_EQ(rb.readings.Last(inTachometer), "0");
  for (const auto& point : rb.series1.points)
    EXPECT_EQ(point.second, 0.0);
}

TEST(RefreshBench, FirstBarStepMovesTheVoltmeterButNotTheWave) {
  RecordedBench rb;
  SetUpTwoQuadrantBench(rb.bench, 1);
  rb.steps.SetChopperType(
      TChopperType::kPlusAndMinusOffAtZero);  // off at 0 %, and position 1 rounds to 0 %
  rb.steps.RefreshBench();
  EXPECT_EQ(rb.readings.Last(inVoltmeter), "0,05");
  for (const auto& point : rb.series1.points)
    EXPECT_EQ(point.second, 0.0);
}

TEST(RefreshBench, WorksWithoutAWindow) {
  TBench bench;
  SetUpTwoQuadrantBench(bench, 50);
  TBenchSteps(bench).RefreshBench();
  EXPECT_NEAR(static_cast<double>(bench.MotorVoltage()), 2.6, 1e-12);
}

// --- Four-quadrant ------------------------------------------------------------------------------

// As the four-quadrant menu entry and the panel's buttons leave it.
void SetUpFourQuadrant(TBench& b, TDrivingMachine machine, TDirection direction, int bar) {
  const TBenchSteps steps(b);
  steps.SetSupplyVoltage(10.4L);
  steps.SetConnectionMode(TWiring::kWithoutInductance);
  steps.SetChopperType(TChopperType::kPlusOrMinus);
  steps.SetDrivingMachine(machine);
  steps.SetRotationDirection(direction);
  b.SetMachineSpeedSetting(bar);
}

constexpr TDrivingMachine kMachine1 = TDrivingMachine::kMachine1;
constexpr TDrivingMachine kMachine2 = TDrivingMachine::kMachine2;
constexpr TDirection kClockwise = TDirection::kClockwise;

TEST(RefreshFourQuadrant, MotorTraceIsDrawnBeforeTheNewVoltageIsKnown) {
  RecordedBench rb;
  SetUpFourQuadrant(rb.bench, kMachine1, kClockwise, 100);
  rb.bench.RefreshFourQuadrant();
  SetUpFourQuadrant(rb.bench, kMachine1, kClockwise, 200);
  rb.readings.history.clear();
  rb.bench.RefreshFourQuadrant();

  const decltype(rb.readings.history) expected = {
      {inVoltmeter, "5,20"},  // PlotWave shows the previous voltage
      {inTachometer, "0"},   {inTachometer, "2920"}, {inVoltmeter, "10,40"},
      {inAmmeter1, "1,08"},  {inAmmeter2, "1,08"}};
  EXPECT_EQ(rb.readings.history, expected);
  // "+ ou -" at 100 %: the whole shown period at +E.
  ASSERT_EQ(rb.series1.points.size(), 500u);
  for (const auto& point : rb.series1.points)
    EXPECT_DOUBLE_EQ(point.second, 10.4);
}

TEST(RefreshFourQuadrant, DrivenMachineTraceIsItsVoltageWithNoise) {
  RecordedBench rb;
  ScriptedRandom random({0, 199, 100});
  rb.bench.SetRandomSource(&random);
  SetUpFourQuadrant(rb.bench, kMachine2, kClockwise, 200);
  rb.bench.RefreshFourQuadrant();

  EXPECT_EQ(random.reseeds, 1);
  ASSERT_EQ(rb.series1.points.size(), 500u);
  // 150 samples are drawn but only 100 shown, so the pattern repeats every period.
  const double expected[] = {15.68, 16.3168, 16.0};
  for (std::size_t i = 0; i < 500; ++i) {
    EXPECT_NEAR(rb.series1.points[i].second, expected[(i % 100) % 3], 1e-12) << i;
  }
  const decltype(rb.readings.history) readings = {{inTachometer, "0"},    {inTachometer, "7000"},
                                                  {inVoltmeter, "16,00"}, {inVoltmeter, "16,00"},
                                                  {inAmmeter1, "-0,40"},  {inAmmeter2, "-0,40"}};
  EXPECT_EQ(rb.readings.history, readings);
}

TEST(RefreshFourQuadrant, DoesNothingUntilAMachineIsChosen) {
  RecordedBench rb;
  SetUpFourQuadrant(rb.bench, TDrivingMachine::kNotChosen, kClockwise, 150);
  rb.bench.RefreshFourQuadrant();
  EXPECT_TRUE(rb.readings.history.empty());
  EXPECT_EQ(rb.series1.clears, 0);
  EXPECT_EQ(rb.bench.MotorVoltage(), 0);
}

TEST(RefreshFourQuadrant, DirectionNotChosenKeepsVoltageAndCurrents) {
  RecordedBench rb;
  SetUpFourQuadrant(rb.bench, kMachine2, kClockwise, 200);
  rb.bench.RefreshFourQuadrant();
  rb.steps.SetRotationDirection(TDirection::kNotChosen);  // as after choosing the machine
  rb.bench.SetMachineSpeedSetting(0);
  rb.readings.history.clear();
  rb.bench.RefreshFourQuadrant();
  EXPECT_EQ(rb.readings.Last(inTachometer), "0");
  EXPECT_EQ(rb.readings.Last(inVoltmeter), "16,00");
  EXPECT_EQ(rb.readings.Last(inAmmeter1), "-0,40");
  EXPECT_EQ(rb.readings.Last(inAmmeter2), "-0,40");
}

}  // namespace
