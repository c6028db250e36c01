// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// The lab notebook ("Relevés"): one row per key stroke, holding the bench's settings and the four
// instruments at that moment, and the straight line that best fits two of its columns.

// One recorded point of the bench.
struct TNotebookRow {
  std::string time;                                            // local time "2026-12-08 14:32:05"
  std::string experiment;                                      // "Hacheur 2 quadrants"
  std::string wiring, chopperType, direction, drivingMachine;  // captions; "" when not applicable
  std::optional<double> setPoint;                              // %
  std::optional<double> voltage;                               // U, V
  std::optional<double> speed;                                 // n, tr/min
  std::optional<double> current1;  // I1, A; none when the ammeter shows "inactif"
  std::optional<double> current2;  // I2, A
  // 32 lowercase hexadecimal digits, the same in every copy of the program that shares the file:
  // rows are merged and removed by it. Given when the row is recorded.
  std::string id = {};

  bool operator==(const TNotebookRow&) const = default;
};

enum class TNotebookColumn {
  kTime,
  kExperiment,
  kWiring,
  kChopperType,
  kDirection,
  kDrivingMachine,
  kSetPoint,
  kVoltage,
  kSpeed,
  kCurrent1,
  kCurrent2
};
inline constexpr int kNotebookColumns = 11;

bool IsNumericColumn(TNotebookColumn c);  // kSetPoint .. kCurrent2
// The column's number; none for a text column or an empty cell.
std::optional<double> NumberOf(const TNotebookRow& row, TNotebookColumn c);
// The column's text; "" for a numeric column.
const std::string& TextOf(const TNotebookRow& row, TNotebookColumn c);

// The wiring button's caption that rows recorded with the motor not connected hold: their speed
// is forced to 0 whatever the voltage.
inline constexpr const char* kNotConnectedWiring = "moteur non branché";

// What a set of rows mixes that a fit across them should not: rows are added one at a time, as
// a plot takes its points. An empty caption (a panel the experiment does not show, a choice not
// made, a row written before the field was recorded) differs from nothing.
class TRowsMix {
 public:
  void Add(const TNotebookRow& row);

  bool Experiments() const { return experiments_; }
  // Two wirings given, or rows "moteur non branché" beside rows recorded otherwise.
  bool Wirings() const { return wirings_ || NotConnected(); }
  bool ChopperTypes() const { return chopperTypes_; }
  // Rows "moteur non branché" beside others.
  bool NotConnected() const { return notConnectedRows_ > 0 && otherRows_ > 0; }
  bool Any() const { return Experiments() || Wirings() || ChopperTypes(); }

 private:
  std::string experiment_, wiring_, chopperType_;  // the first given
  bool experiments_ = false, wirings_ = false, chopperTypes_ = false;
  long long notConnectedRows_ = 0, otherRows_ = 0;
};

struct TLineFit {
  double slope = 0, intercept = 0, r2 = 0;
  int points = 0;  // pairs the line was fitted to
};

// Least squares y = slope·x + intercept over the pairs where both are finite (the shorter vector
// sets the count); none when fewer than two distinct x values remain. r2 = 1 − SSres/SStot, and 1
// when all y are equal (SStot = 0), where the line is exactly y = that value.
std::optional<TLineFit> FitLine(const std::vector<double>& x, const std::vector<double>& y);
