// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/notebook.h"

#include "sim/bench.h"
#include "tests/support/bench_scene.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct FitRow {
  const char* what;
  std::vector<double> x, y;
  std::optional<TLineFit> fit;  // expected
  double tolerance;             // on slope and r2, relative; on the intercept, absolute
};

class LineFit : public testing::TestWithParam<FitRow> {};

TEST_P(LineFit, MatchesTheHandWorkedLine) {
  const FitRow& row = GetParam();
  const std::optional<TLineFit> fit = FitLine(row.x, row.y);
  ASSERT_EQ(fit.has_value(), row.fit.has_value());
  if (!fit) return;
  EXPECT_NEAR(fit->slope, row.fit->slope, std::abs(row.fit->slope) * row.tolerance);
  EXPECT_NEAR(fit->intercept, row.fit->intercept, row.tolerance);
  EXPECT_NEAR(fit->r2, row.fit->r2, row.tolerance);
  EXPECT_LE(fit->r2, 1.0);
  EXPECT_EQ(fit->points, row.fit->points);
}

INSTANTIATE_TEST_SUITE_P(
    Points, LineFit,
    testing::Values(
        FitRow{"exact", {0, 1, 2, 3}, {1, 3, 5, 7}, TLineFit{2, 1, 1, 4}, 1e-15},
        // Means 2.5 and 3.5; Sxx = 5, Sxy = 4, Syy = 5: slope 0.8, intercept 3.5 − 0.8·2.5 = 1.5,
        // SSres = 5 − 0.8·4 = 1.8 and r2 = 1 − 1.8/5 = 0.64.
        FitRow{"noisy", {1, 2, 3, 4}, {2, 3, 5, 4}, TLineFit{0.8, 1.5, 0.64, 4}, 1e-14},
        FitRow{"falling", {0, 10, 20}, {6, 4, 2}, TLineFit{-0.2, 6, 1, 3}, 1e-15},
        FitRow{"vertical", {2, 2, 2}, {1, 2, 3}, std::nullopt, 0},
        FitRow{"one_point", {1}, {2}, std::nullopt, 0}, FitRow{"nothing", {}, {}, std::nullopt, 0},
        FitRow{"one_finite_pair", {1, kNaN, 2}, {1, 2, kInf}, std::nullopt, 0},
        // (0, 1), (1, 3) and (3, 7) remain.
        FitRow{"holes",
               {0, kNaN, 1, 2, 3, -kInf},
               {1, 100, 3, kNaN, 7, 0},
               TLineFit{2, 1, 1, 3},
               1e-15},
        FitRow{"flat", {1, 2, 3}, {4, 4, 4}, TLineFit{0, 4, 1, 3}, 0},
        FitRow{"flat_at_tenth", {0.1, 0.2, 0.3}, {0.1, 0.1, 0.1}, TLineFit{0, 0.1, 1, 3}, 0},
        FitRow{"longer_x", {0, 1, 2, 50}, {1, 3, 5}, TLineFit{2, 1, 1, 3}, 1e-15},
        // The noisy row moved by 4e9 − 1 in x: intercept 1.5 − 0.8·(4e9 − 1). Uncentred sums of x²
        // (6.4e19) would drown the spread of 5.
        FitRow{"offset",
               {4e9, 4e9 + 1, 4e9 + 2, 4e9 + 3},
               {2, 3, 5, 4},
               TLineFit{0.8, 2.3 - 3.2e9, 0.64, 4},
               1e-5},
        // Squares of these would overflow or vanish without scaling.
        FitRow{
            "huge", {1e200, 2e200, 3e200}, {3e300, 6e300, 9e300}, TLineFit{3e100, 0, 1, 3}, 1e-14},
        FitRow{"tiny", {1e-300, 2e-300, 3e-300}, {1, 2, 3}, TLineFit{1e300, 0, 1, 3}, 1e-14}),
    [](const testing::TestParamInfo<FitRow>& info) { return std::string(info.param.what); });

TEST(RowsMix, NamesWhatTheRowsMix) {
  const std::string two = "Hacheur 2 quadrants", one = "Hacheur 1 quadrant";
  const std::string on = "moteur branché sans effet de self", off = kNotConnectedWiring;
  const std::string plus = "type + ou -";
  struct Case {
    const char* what;
    std::vector<std::vector<std::string>> rows;  // experiment, wiring, chopper type
    std::string mixed;  // E: experiments, W: wirings, C: chopper types, N: not connected
  } const cases[] = {
      {"alike", {{two, on, plus}, {two, on, plus}}, ""},
      {"experiments", {{two, on, plus}, {two, on, plus}, {one, on, plus}}, "E"},
      {"wirings", {{two, on, ""}, {two, "moteur branché avec effet de self", ""}}, "W"},
      {"chopper_types", {{two, on, plus}, {two, on, "type + et - ,zéro alimenté"}}, "C"},
      // A row written before the chopper type was recorded, or a panel not shown, says nothing.
      {"empty_differs_from_nothing", {{one, on, ""}, {one, "", plus}, {one, on, plus}}, ""},
      {"all_not_connected", {{two, off, ""}, {two, off, ""}}, ""},
      {"not_connected_among_others", {{two, on, ""}, {two, off, ""}}, "WN"},
      {"not_connected_beside_no_wiring", {{"Hacheur 4 quadrants", "", ""}, {two, off, ""}}, "EWN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRowsMix mix;
    for (const std::vector<std::string>& fields : c.rows) {
      TNotebookRow row;
      std::tie(row.experiment, row.wiring, row.chopperType) =
          std::tie(fields[0], fields[1], fields[2]);
      mix.Add(row);
    }
    EXPECT_EQ(std::string(mix.Experiments() ? "E" : "") + (mix.Wirings() ? "W" : "") +
                  (mix.ChopperTypes() ? "C" : "") + (mix.NotConnected() ? "N" : ""),
              c.mixed);
    EXPECT_EQ(mix.Any(), !c.mixed.empty());
  }
}

// The caption rows hold is the one the bench gives its wiring button.
TEST(RowsMix, KnowsTheBenchsNotConnectedCaption) {
  TBench bench;
  bench.ChooseExperiment(TExperiment::kTwoQuadrants);
  TBenchSteps(bench).SetConnectionMode(TWiring::kNotConnected);
  EXPECT_EQ(bench.Description().wiring.caption, kNotConnectedWiring);
}

}  // namespace
