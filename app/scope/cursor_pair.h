// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "app/scope/scope_keys.h"
#include "app/scope/scope_point.h"

class TChart;
class TFastLineSeries;

// Cursors A and B of the oscilloscope, each a vertical and a horizontal line across the screen.
// Cursor A is the measuring cross that the read-out is relative to; cursor B is its twin for
// the differences. A cursor is set while its lines are on the screen.
class TCursorPair {
 public:
  // Each cursor's lines: the vertical (time) one, then the horizontal (voltage) one. They must
  // outlive the pair.
  TCursorPair(TChart& chart, TFastLineSeries& aTime, TFastLineSeries& aVolts,
              TFastLineSeries& bTime, TFastLineSeries& bVolts);

  std::optional<TScopePoint> A() const { return a_; }
  std::optional<TScopePoint> B() const { return b_; }
  std::optional<TScopePoint> Of(TScopeCursor cursor) const;

  // The cursor's lines through `point`, across the ranges the chart shows now.
  void Place(TScopeCursor cursor, TScopePoint point);
  void Clear(TScopeCursor cursor);
  // Each cursor set, across the ranges shown now (a zoom out makes the screen larger than
  // the lines).
  void Respan();

  // Puts a cursor's two lines through `point` across the ranges `chart` shows now: `vertical`
  // from bottom to top, `horizontal` from left to right.
  static void SpanLines(TChart& chart, TFastLineSeries& vertical, TFastLineSeries& horizontal,
                        TScopePoint point);

 private:
  struct TLines {
    TFastLineSeries& time;
    TFastLineSeries& volts;
  };
  TLines& LinesOf(TScopeCursor cursor);

  TChart& chart_;
  TLines a_lines_, b_lines_;
  std::optional<TScopePoint> a_, b_;
};
