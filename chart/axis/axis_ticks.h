// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "chart/axis/axis_map.h"

// What an axis shows at one layout, as plain data: its labels, the positions of its tick
// marks and grid lines, and its minor ticks. Computed once per layout without a canvas; the
// labels, the tick marks and the grid are then drawn from the same lists.
struct TAxisLabel {
  int pixel;
  QString text;
};

struct TAxisTicks {
  std::vector<TAxisLabel> labels;  // in drawing order: from the top of the range down
  std::vector<int> positions;      // the tick marks and grid lines
  std::vector<int> minor;          // the minor tick marks and minor grid lines
};

struct TTickRules {
  double step = 0;           // between labels, in values; no labels when not positive
  bool valueLabels = false;  // labels show the axis's values (the only labels walked here)
  bool labels = true;        // labels are drawn
  bool roundFirstLabel = true;
  bool labelsOnAxis = true;      // labels may sit on the axis ends
  bool tickOnLabelsOnly = true;  // ticks only where a label is drawn
  int minorCount = 0;            // minor ticks between two ticks; none when below 1
  int logarithmicBase = 10;
};

// At most this many labels and as many tick positions are kept per axis and layout, whatever
// the step: every label costs a text layout on each paint, and a screen 4000 pixels wide
// holds a few hundred readable ones at the very most.
inline constexpr int kMaxAxisMarks = 2000;

TAxisTicks ComputeAxisTicks(const TAxisMap& map, const TTickRules& rules,
                            const std::function<QString(double)>& labelText);
