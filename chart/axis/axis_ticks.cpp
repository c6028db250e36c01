// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis/axis_ticks.h"

#include "chart/axis/axis_labels.h"

namespace {

bool Inside(const TAxisMap& map, int p) {
  return map.PixelStart() < p && p < map.PixelEnd();
}

// Logarithmic axes: n steps up from each tick's value, by (base × value − value) / (n + 1).
std::vector<int> LogarithmicMinor(const TAxisMap& map, const std::vector<int>& ticks, int count,
                                  int base) {
  std::vector<int> positions;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double from = map.PixelToValue(ticks[i - 1]);
    const double stepValue = (base * from - from) / (count + 1);
    double v = from;
    for (int j = 1; j <= count; ++j) {
      v += stepValue;
      if (v > map.RangeMax()) break;
      const int p = map.ValueToPixel(v);
      if (Inside(map, p)) positions.push_back(p);
    }
  }
  return positions;
}

}  // namespace

TAxisTicks ComputeAxisTicks(const TAxisMap& map, const TTickRules& rules,
                            const std::function<QString(double)>& labelText) {
  TAxisTicks ticks;
  const auto keep = [&ticks](int p) {
    if (static_cast<int>(ticks.positions.size()) < kMaxAxisMarks) ticks.positions.push_back(p);
  };
  if (rules.valueLabels && rules.step > 0 && map.RangeMax() >= map.RangeMin()) {
    for (double v :
         LabelValues(map.RangeMin(), map.RangeMax(), rules.step, rules.roundFirstLabel)) {
      const int p = map.ValueToPixel(v);
      if (!rules.labelsOnAxis && !Inside(map, p)) continue;
      if (!rules.tickOnLabelsOnly || rules.labels) keep(p);
      if (rules.labels && static_cast<int>(ticks.labels.size()) < kMaxAxisMarks) {
        ticks.labels.push_back({p, labelText(v)});
      }
    }
  }
  if (rules.minorCount >= 1 && !ticks.positions.empty()) {
    ticks.minor = map.Logarithmic() ? LogarithmicMinor(map, ticks.positions, rules.minorCount,
                                                       rules.logarithmicBase)
                                    : MinorTickPositions(ticks.positions, rules.minorCount,
                                                         map.PixelStart(), map.PixelEnd());
  }
  return ticks;
}
