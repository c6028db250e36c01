// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope by keyboard. Each key ends where the mouse's gesture ends: the cross, cursor
// B, the read-out, the "Mesures" window and the scales change through the same steps, and the
// description follows as after every handler.
#include <algorithm>
#include <utility>
#include <vector>

#include "app/oscilloscope_settings.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"

namespace {

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> copy(static_cast<std::size_t>(list.ValueCount()));
  for (std::size_t i = 0; i < copy.size(); ++i)
    copy[i] = list.ValueAt(static_cast<int>(i));
  return copy;
}

double Middle(const TChartAxis& axis) {
  return (axis.Minimum() + axis.Maximum()) / 2;
}

}  // namespace

void TScopeView::KeyDown(TScopeKey key) {
  switch (key) {
    case TScopeKey::kCursorA:
    case TScopeKey::kCursorB:
      TakeCursor(key == TScopeKey::kCursorA ? TScopeCursor::kA : TScopeCursor::kB);
      break;
    case TScopeKey::kSampleBack:
    case TScopeKey::kSampleForward:
      MoveCursor(key == TScopeKey::kSampleForward ? 1 : -1, false);
      break;
    case TScopeKey::kDivisionBack:
    case TScopeKey::kDivisionForward:
      MoveCursor(key == TScopeKey::kDivisionForward ? 1 : -1, true);
      break;
    case TScopeKey::kZoomIn:
    case TScopeKey::kZoomOut:
      ZoomAroundCursor(key == TScopeKey::kZoomIn ? 0.5 : 2);
      break;
    case TScopeKey::kDezoom:
      Dezoom();
      break;
    case TScopeKey::kClearCursors:
      ClearCursors();
      keys_->SetActive(TScopeCursor::kNone);
      break;
    case TScopeKey::kNone:
      break;
  }
}

// A cursor already set stays where it is; a new one goes to the sample in the middle of the
// screen (the middle of the plot when no trace is shown).
void TScopeView::TakeCursor(TScopeCursor cursor) {
  keys_->SetActive(cursor);
  if (const std::optional<TScopePoint> point = cursors_->Of(cursor)) {
    ShowReadOut(*point);
    return;
  }
  const TChartAxis& bottom = chart_.BottomAxis();
  const std::vector<double> times = Values(Trace().XValues());
  const int sample = NearestSample(times, bottom.Minimum(), bottom.Maximum(), Middle(bottom));
  const TScopePoint point = sample >= 0 ? TScopePoint{times[static_cast<std::size_t>(sample)],
                                                      Trace().YValues().ValueAt(sample)}
                                        : TScopePoint{Middle(bottom), Middle(chart_.LeftAxis())};
  PlaceCursor(cursor, point);
  ShowReadOut(point);
}

void TScopeView::MoveCursor(int direction, bool byDivision) {
  const TScopeCursor cursor = keys_->Active();
  const std::optional<TScopePoint> at = cursors_->Of(cursor);
  if (!at) return;
  TChartAxis& bottom = chart_.BottomAxis();
  // A division is the grid's step, as the screen shows it.
  const double span = byDivision ? bottom.LabelStep() : 0;
  const std::vector<double> times = Values(Trace().XValues());
  const int sample =
      SampleAlong(times, bottom.Minimum(), bottom.Maximum(), at->ms, direction, span);
  if (sample < 0) return;
  const TScopePoint point{times[static_cast<std::size_t>(sample)],
                          Trace().YValues().ValueAt(sample)};
  PlaceCursor(cursor, point);
  ShowReadOut(point);
}

// As a rectangle dragged around the cursor (the middle of the plot without one) would: the
// cursor keeps its place on the screen, and "dezoom" brings back the scales of before.
void TScopeView::ZoomAroundCursor(double factor) {
  const TScopePoint at =
      cursors_->Of(keys_->Active())
          .value_or(TScopePoint{Middle(chart_.BottomAxis()), Middle(chart_.LeftAxis())});
  const auto fraction = [](const TChartAxis& axis, double value) {
    const double span = axis.Maximum() - axis.Minimum();
    return span > 0 ? std::clamp((value - axis.Minimum()) / span, 0.0, 1.0) : 0.5;
  };
  const double across = fraction(chart_.BottomAxis(), at.ms);
  const double up = fraction(chart_.LeftAxis(), at.volts);
  const auto range = [factor](const TChartAxis& axis, double fractionAt) {
    const double span = axis.Maximum() - axis.Minimum();
    const double centre = axis.Minimum() + fractionAt * span;
    return std::pair(centre - fractionAt * span * factor,
                     centre + (1 - fractionAt) * span * factor);
  };
  const auto [topMin, topMax] = range(chart_.TopAxis(), across);
  const auto [bottomMin, bottomMax] = range(chart_.BottomAxis(), across);
  const auto [leftMin, leftMax] = range(chart_.LeftAxis(), up);
  // Channel 2's axis stays a tenth of the voltage's.
  chart_.ApplyZoom(topMin, topMax, bottomMin, bottomMax, leftMin, leftMax,
                   leftMin / oscilloscope::kVoltsPerAmpere,
                   leftMax / oscilloscope::kVoltsPerAmpere);
  chart_.InvalidateChart();
  // The cursors' lines span the new screen, which a zoom out makes larger than they are.
  cursors_->Respan();
  emit Changed();
}
