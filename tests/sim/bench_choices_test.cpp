// SPDX-License-Identifier: GPL-3.0-or-later
// The bench's part of the window's handlers: the experiments, the panels' choices and the
// words the window shows and records for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sim/bench.h"
#include "tests/support/bench_scene.h"

namespace {

using W = TWiring;
using D = TDirection;
using C = TChopperType;
using M = TDrivingMachine;
using X = TExperiment;

// Every write of the bench, readings and traces alike, in one list and in order.
class WriteLog : public TBenchOutput {
 public:
  class Trace : public TBenchTrace {
   public:
    Trace(WriteLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    void ClearPoints() override { log_.writes.push_back(name_ + " cleared"); }
    void AppendPoints(const double*, const double* y, int count) override {
      log_.writes.push_back(name_ + " +" + std::to_string(count));
      for (int i = 0; i < count; ++i)
        log_.largest = std::max(log_.largest, std::fabs(y[i]));
    }

   private:
    WriteLog& log_;
    std::string name_;
  };

  void ShowReading(TInstrument instrument, const std::string& text) override {
    static const char* const kNames[] = {"voltmeter", "tachometer", "ammeter 1", "ammeter 2"};
    writes.push_back(std::string(kNames[instrument]) + " " + text);
  }

  std::vector<std::string> writes;
  double largest = 0;  // the largest |u| appended to any trace
  Trace series1{*this, "Series1"};
  Trace series4{*this, "Series4"};
};

struct LoggedBench {
  LoggedBench() : bench(&log, &log.series1, &log.series4) {}
  WriteLog log;
  TBench bench;
  const TBenchSteps steps{bench};
};

// What PlotWave writes at 0 V: the voltmeter, then both traces anew.
const std::vector<std::string> kPlot = {"voltmeter 0,00", "Series1 cleared", "Series4 cleared",
                                        "Series4 +501",   "Series1 +100",    "Series1 +100",
                                        "Series1 +100",   "Series1 +100",    "Series1 +100"};

std::vector<std::string> Then(std::vector<std::string> writes,
                              const std::vector<std::string>& more) {
  writes.insert(writes.end(), more.begin(), more.end());
  return writes;
}

// --- ChooseExperiment ----------------------------------------------------------------------------

struct ExperimentRow {
  TExperiment experiment;
  long double supply;
  TWiring wiring;
  TDirection direction;
  TChopperType type;
  TDrivingMachine machine;  // after, from machine n°2 chosen before
  std::vector<std::string> writes;
};

TEST(ChooseExperiment, PutsTheBenchInTheExperimentsStartingStateThenDrawsIt) {
  const ExperimentRow rows[] = {
      // Clockwise with the wiring not chosen counts as connected: the speed is shown twice.
      {X::kOneQuadrant, 11.2L, W::kNotChosen, D::kClockwise, C::kPlusOrMinus, M::kMachine2,
       Then(kPlot, {"tachometer 0", "tachometer 0"})},
      {X::kTwoQuadrants, 10.4L, W::kNotChosen, D::kNotChosen, C::kNotChosen, M::kMachine2,
       Then(kPlot, {"tachometer 0"})},
      {X::kFourQuadrants, 10.4L, W::kWithoutInductance, D::kNotChosen, C::kPlusOrMinus,
       M::kNotChosen, Then(kPlot, {"tachometer 0"})}};
  for (const ExperimentRow& row : rows) {
    LoggedBench b;
    // Running before: machine n°2 at 80 %, then the two-quadrant experiment at 75 %.
    b.bench.ChooseExperiment(X::kFourQuadrants);
    b.bench.ChooseDrivingMachine(M::kMachine2);
    b.bench.ChooseMachineDirection(D::kClockwise);
    b.bench.SetMachineSpeedSetting(160);
    b.bench.RefreshFourQuadrant();
    b.bench.ChooseExperiment(X::kTwoQuadrants);
    b.steps.SetConnectionMode(W::kWithInductance);
    b.bench.ChooseChopperType(C::kPlusAndMinusFedAtZero);
    b.bench.ChooseDirection(D::kAnticlockwise);
    b.bench.SetSpeedSetting(150);
    b.bench.RefreshOneOrTwoQuadrant();
    ASSERT_NE(b.bench.MotorVoltage(), 0);
    b.log.writes.clear();
    b.log.largest = 0;

    b.bench.ChooseExperiment(row.experiment);
    const int name = static_cast<int>(row.experiment);
    EXPECT_EQ(b.bench.ExperimentKind(), row.experiment) << name;
    EXPECT_EQ(b.bench.SupplyVoltage(), row.supply) << name;
    EXPECT_EQ(b.bench.ConnectionMode(), row.wiring) << name;
    EXPECT_EQ(b.bench.RotationDirection(), row.direction) << name;
    EXPECT_EQ(b.bench.ChopperType(), row.type) << name;
    EXPECT_EQ(b.bench.DrivingMachine(), row.machine) << name;
    EXPECT_EQ(b.bench.SpeedSetting(), 0) << name;
    EXPECT_EQ(b.bench.SpeedPercent(), 0) << name;
    EXPECT_EQ(b.bench.MachineSpeedSetting(), 160) << name;  // only its bar is reset
    EXPECT_EQ(b.bench.MotorVoltage(), 0) << name;
    EXPECT_EQ(b.bench.MotorSpeed(), 0) << name;
    EXPECT_EQ(b.log.writes, row.writes) << name;
    EXPECT_EQ(b.log.largest, 0) << name;
  }
}

// --- The panels' buttons -------------------------------------------------------------------------

TEST(PanelChoices, DirectionAndTypeRecomputeInTheTwoQuadrantExperimentOnly) {
  const std::pair<TExperiment, bool> rows[] = {
      {X::kTwoQuadrants, true}, {X::kOneQuadrant, false}, {X::kFourQuadrants, false}};
  for (auto [experiment, recomputes] : rows) {
    LoggedBench b;
    b.bench.ChooseExperiment(experiment);
    b.steps.SetConnectionMode(W::kWithoutInductance);
    b.log.writes.clear();
    b.bench.ChooseChopperType(C::kPlusAndMinusFedAtZero);
    b.bench.ChooseDirection(D::kAnticlockwise);
    EXPECT_EQ(b.bench.ChopperType(), C::kPlusAndMinusFedAtZero);
    EXPECT_EQ(b.bench.RotationDirection(), D::kAnticlockwise);
    // Each refresh: the plot and the tachometer (once, then once more when connected).
    const std::vector<std::string> refreshes =
        recomputes
            ? Then(Then(kPlot, {"tachometer 0"}), Then(kPlot, {"tachometer 0", "tachometer 0"}))
            : std::vector<std::string>{};
    EXPECT_EQ(b.log.writes, refreshes) << static_cast<int>(experiment);
  }
}

TEST(PanelChoices, TheSpeedBarAndTheWiringRecomputeOutsideTheFourQuadrantExperiment) {
  const std::pair<TExperiment, const char*> rows[] = {{X::kOneQuadrant, "voltmeter 5,66"},
                                                      {X::kTwoQuadrants, "voltmeter 0,00"},
                                                      {X::kFourQuadrants, nullptr}};
  for (auto [experiment, voltmeter] : rows) {
    LoggedBench b;
    b.bench.ChooseExperiment(experiment);
    b.steps.SetConnectionMode(W::kWithoutInductance);
    b.bench.SetSpeedSetting(101);
    EXPECT_EQ(b.bench.SpeedSetting(), 101);
    EXPECT_EQ(b.bench.SpeedPercent(), 50);
    b.log.writes.clear();
    b.bench.RefreshOneOrTwoQuadrant();
    if (voltmeter == nullptr) {
      EXPECT_TRUE(b.log.writes.empty());
    } else {
      ASSERT_FALSE(b.log.writes.empty()) << static_cast<int>(experiment);
      // One quadrant: the chopper is chosen, the voltage follows the raw position; two
      // quadrants: no chopper type yet, the voltage stays.
      EXPECT_EQ(b.log.writes.front(), voltmeter);
    }
  }
}

// A wiring button: the code, the window's picture with that code in force, then what the
// recomputation of the experiment writes; a picture that cannot be read stops it there.
TEST(PanelChoices, AWiringSetsItsCodeThenThePictureThenRecomputes) {
  const struct {
    X experiment;
    bool pictureRead, recomputes;
  } rows[] = {{X::kOneQuadrant, true, true},
              {X::kFourQuadrants, true, false},
              {X::kTwoQuadrants, false, false}};
  for (const auto& row : rows) {
    LoggedBench b, twin;
    for (LoggedBench* l : {&b, &twin}) {
      l->bench.ChooseExperiment(row.experiment);
      l->bench.SetSpeedSetting(101);
      l->log.writes.clear();
    }
    twin.steps.SetConnectionMode(W::kWithInductance);
    if (row.pictureRead) twin.bench.RefreshOneOrTwoQuadrant();
    const auto picture = [&] {
      b.log.writes.push_back("picture of wiring " + std::to_string(int(b.bench.ConnectionMode())));
      if (!row.pictureRead) throw std::runtime_error("unreadable picture");
    };
    try {
      b.bench.ChooseWiring(W::kWithInductance, picture);
    } catch (const std::runtime_error&) {
      EXPECT_FALSE(row.pictureRead);
    }
    EXPECT_EQ(b.bench.ConnectionMode(), W::kWithInductance);
    EXPECT_EQ(b.log.writes, Then({"picture of wiring 1"}, twin.log.writes));
    EXPECT_EQ(twin.log.writes.empty(), !row.recomputes);
  }
}

TEST(PanelChoices, ADrivingMachineRecomputesWithTheDirectionBeforeThenClearsIt) {
  LoggedBench b;
  b.bench.ChooseExperiment(X::kFourQuadrants);
  b.bench.ChooseDrivingMachine(M::kMachine2);
  b.bench.ChooseMachineDirection(D::kClockwise);
  b.bench.SetMachineSpeedSetting(200);
  b.bench.RefreshFourQuadrant();
  ASSERT_EQ(b.log.writes.back(), "ammeter 2 -0,40");
  b.log.writes.clear();

  b.bench.ChooseDrivingMachine(M::kMachine1);
  EXPECT_EQ(b.bench.DrivingMachine(), M::kMachine1);
  EXPECT_EQ(b.bench.MachineSpeedSetting(), 0);
  EXPECT_EQ(b.bench.SpeedPercent(), 0);
  EXPECT_EQ(b.bench.RotationDirection(), D::kNotChosen);
  // Machine n°1 clockwise at 0 %: the wave is drawn before the new voltage is known.
  EXPECT_EQ(
      b.log.writes,
      Then(Then({"voltmeter 16,00"}, std::vector<std::string>(kPlot.begin() + 1, kPlot.end())),
           {"tachometer 0", "tachometer 0", "voltmeter 0,00", "ammeter 1 0,00", "ammeter 2 0,00"}));
}

TEST(PanelChoices, AMachineDirectionResetsTheSetPointThenRecomputes) {
  LoggedBench b;
  b.bench.ChooseExperiment(X::kFourQuadrants);
  b.bench.SetMachineSpeedSetting(120);
  b.log.writes.clear();
  b.bench.ChooseMachineDirection(D::kAnticlockwise);  // no machine yet: nothing to show
  EXPECT_EQ(b.bench.RotationDirection(), D::kAnticlockwise);
  EXPECT_EQ(b.bench.MachineSpeedSetting(), 0);
  EXPECT_TRUE(b.log.writes.empty());

  b.bench.ChooseDrivingMachine(M::kMachine2);
  b.bench.ChooseMachineDirection(D::kClockwise);
  b.bench.SetMachineSpeedSetting(120);
  b.bench.RefreshFourQuadrant();
  ASSERT_EQ(b.bench.MotorSpeed(), 4120);
  b.log.writes.clear();
  b.log.largest = 0;
  b.bench.ChooseMachineDirection(D::kAnticlockwise);  // at 60 % it would turn at -4120 tr/mn
  EXPECT_EQ(b.bench.RotationDirection(), D::kAnticlockwise);
  EXPECT_EQ(b.bench.MachineSpeedSetting(), 0);
  EXPECT_EQ(b.bench.SpeedPercent(), 0);
  EXPECT_EQ(b.log.writes, Then(Then({"tachometer 0", "tachometer 0"}, kPlot),
                               {"voltmeter 0,00", "ammeter 1 0,00", "ammeter 2 0,00"}));
  EXPECT_EQ(b.log.largest, 0);
}

// --- Description ---------------------------------------------------------------------------------

// The buttons' captions, copied from the window's layout.
const std::pair<TWiring, const char*> kWirings[] = {
    {W::kNotChosen, ""},
    {W::kNotConnected, "moteur non branché"},
    {W::kWithoutInductance, "moteur branché sans effet de self"},
    {W::kWithInductance, "moteur branché avec effet de self"}};
const std::pair<TChopperType, const char*> kTypes[] = {
    {C::kNotChosen, ""},
    {C::kPlusOrMinus, "type + ou -"},
    {C::kPlusAndMinusOffAtZero, "type + et -, zéro non alimenté"},
    {C::kPlusAndMinusFedAtZero, "type + et - ,zéro alimenté"}};
const std::pair<TDirection, const char*> kDirections[] = {
    {D::kNotChosen, ""}, {D::kClockwise, "horaire"}, {D::kAnticlockwise, "anti-horaire"}};
const std::pair<TDrivingMachine, const char*> kMachines[] = {{M::kNotChosen, ""},
                                                             {M::kMachine1, "machine n°1 motrice"},
                                                             {M::kMachine2, "machine n°2 motrice"}};

const TPanelChoice kHidden{};
TPanelChoice Shown(const char* caption) {
  return {true, caption};
}

TEST(Description, BeforeAnyExperimentNoPanelShows) {
  TBench bench;
  const TBenchSteps steps(bench);
  EXPECT_EQ(bench.Description(), (TBenchDescription{"Hacheur 2 quadrants", {}, {}, {}, {}}));
  steps.SetConnectionMode(W::kWithInductance);  // as no button of the window could
  steps.SetRotationDirection(D::kClockwise);
  EXPECT_EQ(bench.Description(), (TBenchDescription{"Hacheur 2 quadrants", {}, {}, {}, {}}));
}

TEST(Description, OneQuadrantShowsTheWiringOnly) {
  for (const auto& [wiring, caption] : kWirings) {
    TBench bench;
    bench.ChooseExperiment(X::kOneQuadrant);  // clockwise, "+ ou -", both hidden
    TBenchSteps(bench).SetConnectionMode(wiring);
    EXPECT_EQ(bench.Description(),
              (TBenchDescription{"Hacheur 1 quadrant", Shown(caption), kHidden, kHidden, kHidden}))
        << caption;
  }
}

TEST(Description, TwoQuadrantsShowWiringTypeAndDirection) {
  for (const auto& [wiring, wiringCaption] : kWirings) {
    for (const auto& [type, typeCaption] : kTypes) {
      for (const auto& [direction, directionCaption] : kDirections) {
        TBench bench;
        bench.ChooseExperiment(X::kFourQuadrants);
        bench.ChooseDrivingMachine(M::kMachine1);  // kept, but not shown
        bench.ChooseExperiment(X::kTwoQuadrants);
        TBenchSteps(bench).SetConnectionMode(wiring);
        if (type != C::kNotChosen) bench.ChooseChopperType(type);
        if (direction != D::kNotChosen) bench.ChooseDirection(direction);
        EXPECT_EQ(bench.Description(),
                  (TBenchDescription{"Hacheur 2 quadrants", Shown(wiringCaption),
                                     Shown(typeCaption), Shown(directionCaption), kHidden}))
            << wiringCaption << " | " << typeCaption << " | " << directionCaption;
      }
    }
  }
}

TEST(Description, FourQuadrantsShowMachineAndDirection) {
  for (const auto& [machine, machineCaption] : kMachines) {
    for (const auto& [direction, directionCaption] : kDirections) {
      TBench bench;
      bench.ChooseExperiment(X::kFourQuadrants);  // wired and "+ ou -", both hidden
      if (machine != M::kNotChosen) bench.ChooseDrivingMachine(machine);
      if (direction != D::kNotChosen) bench.ChooseMachineDirection(direction);
      EXPECT_EQ(bench.Description(),
                (TBenchDescription{"Hacheur 4 quadrants", kHidden, kHidden, Shown(directionCaption),
                                   Shown(machineCaption)}))
          << machineCaption << " | " << directionCaption;
    }
  }
}

// Its button stays selected while the code goes back to not chosen, until a machine is chosen;
// the two-quadrant experiment between the two choices does not touch it.
TEST(Description, FourQuadrantsChosenAgainKeepTheDirectionShown) {
  TBench bench;
  bench.ChooseExperiment(X::kFourQuadrants);
  bench.ChooseMachineDirection(D::kAnticlockwise);
  bench.ChooseExperiment(X::kTwoQuadrants);
  bench.ChooseDirection(D::kClockwise);
  EXPECT_EQ(bench.Description().direction, Shown("horaire"));
  bench.ChooseExperiment(X::kFourQuadrants);
  EXPECT_EQ(bench.RotationDirection(), D::kNotChosen);
  EXPECT_EQ(bench.Description().direction, Shown("anti-horaire"));
  bench.ChooseDrivingMachine(M::kMachine2);
  EXPECT_EQ(bench.Description().direction, Shown(""));
}

}  // namespace
