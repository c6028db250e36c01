// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/notebook.h"

#include <algorithm>
#include <cmath>

bool IsNumericColumn(TNotebookColumn c) {
  return c >= TNotebookColumn::kSetPoint && c <= TNotebookColumn::kCurrent2;
}

std::optional<double> NumberOf(const TNotebookRow& row, TNotebookColumn c) {
  switch (c) {
    case TNotebookColumn::kSetPoint:
      return row.setPoint;
    case TNotebookColumn::kVoltage:
      return row.voltage;
    case TNotebookColumn::kSpeed:
      return row.speed;
    case TNotebookColumn::kCurrent1:
      return row.current1;
    case TNotebookColumn::kCurrent2:
      return row.current2;
    default:
      return std::nullopt;
  }
}

const std::string& TextOf(const TNotebookRow& row, TNotebookColumn c) {
  static const std::string kNone;
  switch (c) {
    case TNotebookColumn::kTime:
      return row.time;
    case TNotebookColumn::kExperiment:
      return row.experiment;
    case TNotebookColumn::kWiring:
      return row.wiring;
    case TNotebookColumn::kChopperType:
      return row.chopperType;
    case TNotebookColumn::kDirection:
      return row.direction;
    case TNotebookColumn::kDrivingMachine:
      return row.drivingMachine;
    default:
      return kNone;
  }
}

namespace {

// Notes the first caption given, and whether a later one differs from it.
void Compare(const std::string& caption, std::string& first, bool& differs) {
  if (caption.empty()) return;
  if (first.empty())
    first = caption;
  else
    differs = differs || caption != first;
}

}  // namespace

void TRowsMix::Add(const TNotebookRow& row) {
  Compare(row.experiment, experiment_, experiments_);
  Compare(row.wiring, wiring_, wirings_);
  Compare(row.chopperType, chopperType_, chopperTypes_);
  ++(row.wiring == kNotConnectedWiring ? notConnectedRows_ : otherRows_);
}

namespace {

// The finite pairs, each coordinate scaled by a power of two so that its largest magnitude lies
// in [0.5, 1): the scaling is exact, and no sum below can overflow or lose tiny values.
struct ScaledPairs {
  std::vector<double> u, v;
  int xExponent = 0, yExponent = 0;
  bool distinctX = false, distinctY = false;
};

int ScaleExponent(double largest) {
  return largest > 0 ? std::ilogb(largest) + 1 : 0;
}

ScaledPairs FinitePairs(const std::vector<double>& x, const std::vector<double>& y) {
  ScaledPairs p;
  double largestX = 0, largestY = 0;
  const std::size_t count = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
    // Compared exactly: a rounded spread would call equal values distinct, or the reverse.
    p.distinctX = p.distinctX || (!p.u.empty() && x[i] != p.u.front());
    p.distinctY = p.distinctY || (!p.v.empty() && y[i] != p.v.front());
    p.u.push_back(x[i]);
    p.v.push_back(y[i]);
    largestX = std::max(largestX, std::abs(x[i]));
    largestY = std::max(largestY, std::abs(y[i]));
  }
  p.xExponent = ScaleExponent(largestX);
  p.yExponent = ScaleExponent(largestY);
  for (double& u : p.u)
    u = std::ldexp(u, -p.xExponent);
  for (double& v : p.v)
    v = std::ldexp(v, -p.yExponent);
  return p;
}

// The mean, corrected by the mean of the residues: exact to rounding even when the values sit
// far from zero next to their spread.
double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double value : values)
    sum += value;
  const double mean = sum / static_cast<double>(values.size());
  double residue = 0;
  for (double value : values)
    residue += value - mean;
  return mean + residue / static_cast<double>(values.size());
}

}  // namespace

std::optional<TLineFit> FitLine(const std::vector<double>& x, const std::vector<double>& y) {
  const ScaledPairs p = FinitePairs(x, y);
  if (!p.distinctX) return std::nullopt;
  TLineFit fit;
  fit.points = static_cast<int>(p.u.size());
  if (!p.distinctY) {  // a flat set: the line is exact, not a rounding away from it
    fit.intercept = std::ldexp(p.v.front(), p.yExponent);
    fit.r2 = 1;
    return fit;
  }
  const double meanU = Mean(p.u), meanV = Mean(p.v);
  double suu = 0, suv = 0, svv = 0;
  for (std::size_t i = 0; i < p.u.size(); ++i) {
    const double du = p.u[i] - meanU, dv = p.v[i] - meanV;
    suu += du * du;
    suv += du * dv;
    svv += dv * dv;
  }
  const double slope = suv / suu;  // in scaled units
  double ssRes = 0;
  for (std::size_t i = 0; i < p.u.size(); ++i) {
    const double residual = (p.v[i] - meanV) - slope * (p.u[i] - meanU);
    ssRes += residual * residual;
  }
  fit.slope = std::ldexp(slope, p.yExponent - p.xExponent);
  fit.intercept = std::ldexp(meanV - slope * meanU, p.yExponent);
  // Mathematically within [0, 1]; rounding must not push a perfect fit above 1.
  fit.r2 = std::clamp(1 - ssRes / svv, 0.0, 1.0);
  return fit;
}
