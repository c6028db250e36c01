// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scope/cursor_pair.h"

#include "chart/chart.h"

TCursorPair::TCursorPair(TChart& chart, TFastLineSeries& aTime, TFastLineSeries& aVolts,
                         TFastLineSeries& bTime, TFastLineSeries& bVolts)
    : chart_(chart), a_lines_{aTime, aVolts}, b_lines_{bTime, bVolts} {}

std::optional<TScopePoint> TCursorPair::Of(TScopeCursor cursor) const {
  if (cursor == TScopeCursor::kA) return a_;
  if (cursor == TScopeCursor::kB) return b_;
  return std::nullopt;
}

TCursorPair::TLines& TCursorPair::LinesOf(TScopeCursor cursor) {
  return cursor == TScopeCursor::kB ? b_lines_ : a_lines_;
}

void TCursorPair::Place(TScopeCursor cursor, TScopePoint point) {
  if (cursor == TScopeCursor::kNone) return;
  (cursor == TScopeCursor::kA ? a_ : b_) = point;
  TLines& lines = LinesOf(cursor);
  SpanLines(chart_, lines.time, lines.volts, point);
}

void TCursorPair::Clear(TScopeCursor cursor) {
  if (cursor == TScopeCursor::kNone) return;
  (cursor == TScopeCursor::kA ? a_ : b_).reset();
  TLines& lines = LinesOf(cursor);
  lines.time.ClearPoints();
  lines.volts.ClearPoints();
}

void TCursorPair::Respan() {
  for (TScopeCursor cursor : {TScopeCursor::kA, TScopeCursor::kB}) {
    if (const std::optional<TScopePoint> point = Of(cursor)) Place(cursor, *point);
  }
}

void TCursorPair::SpanLines(TChart& chart, TFastLineSeries& vertical, TFastLineSeries& horizontal,
                            TScopePoint point) {
  vertical.ClearPoints();
  horizontal.ClearPoints();
  vertical.AppendPoint(point.ms, chart.LeftAxis().Minimum());
  vertical.AppendPoint(point.ms, chart.LeftAxis().Maximum());
  horizontal.AppendPoint(chart.BottomAxis().Minimum(), point.volts);
  horizontal.AppendPoint(chart.BottomAxis().Maximum(), point.volts);
}
