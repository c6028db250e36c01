// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/axis/chart_axis.h"

#include <algorithm>
#include <limits>

#include "chart/chart_exceptions.h"
#include "chart/panel/custom_axis_panel.h"
#include "chart/series/chart_series.h"

namespace {

void CheckAngle(int angle, const char* what) {
  if (angle < 0 || angle > 359) {
    throw ChartException(std::string("L'angle ") + what +
                         " doit être compris entre 0 et 359 degrés");
  }
}

bool SameFont(const TCanvasFont& a, const TCanvasFont& b) {
  return a.Name == b.Name && a.Size == b.Size && a.Color == b.Color && a.Bold == b.Bold &&
         a.Italic == b.Italic;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Title

void TChartAxisTitle::SetAngle(int angle) {
  CheckAngle(angle, "Titre de l'axe");
  if (angle == angle_) return;
  angle_ = angle;
  Changed();
}

void TChartAxisTitle::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TChartAxisTitle::SetFont(const TCanvasFont& font) {
  if (SameFont(font, font_)) return;
  font_ = font;
  Changed();
}

void TChartAxisTitle::Changed() {
  if (axis_ != nullptr) axis_->Changed();
}

// ---------------------------------------------------------------------------------------------
// Axis

TChartAxis::TChartAxis(TCustomAxisPanel* chart, TKind kind) : chart_(chart), kind_(kind) {
  Title.axis_ = this;
  if (kind == kLeft) Title.angle_ = 90;
  if (kind == kRight) Title.angle_ = 270;
  if (kind == kDepth) visible_ = false;
  for (TChartPen* pen : {static_cast<TChartPen*>(&Axis), static_cast<TChartPen*>(&Ticks),
                         static_cast<TChartPen*>(&TicksInner), static_cast<TChartPen*>(&MinorTicks),
                         static_cast<TChartPen*>(&Grid), static_cast<TChartPen*>(&MinorGrid)}) {
    pen->OnChange = [this] { Changed(); };
  }
}

void TChartAxis::Changed() {
  if (chart_ != nullptr) chart_->InvalidateChart();
}

// The flags are coupled: Automatic drives both ends (except while the form is read), and an
// end turned off, or turned on while the other is on, drives Automatic.
void TChartAxis::SetAutomatic(bool automatic) {
  Set(automatic_, automatic);
  if (chart_ == nullptr || !chart_->Loading()) {
    Set(automaticMinimum_, automatic);
    Set(automaticMaximum_, automatic);
  }
}

void TChartAxis::SetAutomaticMinimum(bool automatic) {
  Set(automaticMinimum_, automatic);
  if (!automatic || automaticMaximum_) Set(automatic_, automatic);
}

void TChartAxis::SetAutomaticMaximum(bool automatic) {
  Set(automaticMaximum_, automatic);
  if (!automatic || automaticMinimum_) Set(automatic_, automatic);
}

void TChartAxis::SetMinimum(double value) {
  const bool loading = chart_ != nullptr && chart_->Loading();
  if (!loading && value > maximum_) {
    throw AxisException("La valeur minimum de l'axe doit être <= Maximum");
  }
  Set(minimum_, value);
}

void TChartAxis::SetMaximum(double value) {
  const bool loading = chart_ != nullptr && chart_->Loading();
  if (!loading && value < minimum_) {
    throw AxisException("La valeur maximum de l'axe doit être >= Minimum");
  }
  Set(maximum_, value);
}

void TChartAxis::SetIncrement(double value) {
  if (value < 0) throw AxisException("L'incrément de l'axe doit être >= 0");
  Set(increment_, value);
}

void TChartAxis::SetLabelsFont(const TCanvasFont& font) {
  if (SameFont(font, labelsFont_)) return;
  labelsFont_ = font;
  Changed();
}

void TChartAxis::SetLabelsAngle(int angle) {
  CheckAngle(angle, "Libellés d'axes");
  Set(labelsAngle_, angle);
}

void TChartAxis::SetLabelsSeparation(int percent) {
  if (percent < 0) {
    throw AxisException("Le pourcentage de séparation des libellés doit être >0");
  }
  Set(labelsSeparation_, percent);
}

void TChartAxis::SetAxisRange(double min, double max) {
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  if (min > max) std::swap(min, max);
  // Through the fields, not the setters: the order is already right, and a range narrower
  // than 1e-10 is widened below rather than refused.
  Set(minimum_, min);
  Set(maximum_, max);
  if (maximum_ - minimum_ < 1e-10) Set(maximum_, minimum_ + 1e-10);
}

void TChartAxis::ScrollAxis(double delta, bool checkLimits) {
  if (checkLimits) {
    double low = 0, high = 0;
    const bool any = SeriesRange(low, high);
    const bool apply = delta > 0   ? any && high > maximum_
                       : delta < 0 ? any && low < minimum_
                                   : false;
    if (!apply) return;
  }
  automatic_ = automaticMaximum_ = automaticMinimum_ = false;
  ShiftRange(delta);
  if (chart_ != nullptr) chart_->RepaintChartNow();
}

void TChartAxis::ShiftRange(double delta) {
  maximum_ += delta;
  minimum_ += delta;
  Changed();
}

// ---------------------------------------------------------------------------------------------
// Series on this axis, range and pixels

std::vector<TChartSeries*> TChartAxis::SeriesOnAxis(bool activeOnly) const {
  std::vector<TChartSeries*> result;
  if (chart_ == nullptr) return result;
  for (TChartSeries* s : chart_->SeriesList()) {
    if ((!activeOnly || s->Active()) && s->UsesAxis(this)) result.push_back(s);
  }
  return result;
}

// The smallest and largest values of the series drawn against this axis that have points
// (the active ones, unless none is active); false when no series qualifies.
bool TChartAxis::SeriesRange(double& low, double& high) const {
  std::vector<TChartSeries*> series = SeriesOnAxis(true);
  if (series.empty()) series = SeriesOnAxis(false);
  bool any = false;
  for (const TChartSeries* s : series) {
    if (s->PointCount() == 0) continue;
    const double lo = IsHorizontal() ? s->MinimumX() : s->MinimumY();
    const double hi = IsHorizontal() ? s->MaximumX() : s->MaximumY();
    low = any ? std::min(low, lo) : lo;
    high = any ? std::max(high, hi) : hi;
    any = true;
  }
  return any;
}

void TChartAxis::SetInverted(bool inverted) {
  if (inverted == inverted_) return;
  inverted_ = inverted;
  Remap(RangeMin(), RangeMax(), PixelStart(), PixelEnd());
  Changed();
}

void TChartAxis::SetLogarithmic(bool logarithmic) {
  if (logarithmic == logarithmic_) return;
  logarithmic_ = logarithmic;
  Remap(RangeMin(), RangeMax(), PixelStart(), PixelEnd());
  Changed();
}

void TChartAxis::AdjustRange() {
  if (automatic_ || automaticMaximum_ || automaticMinimum_) {
    double low = 0, high = 0;
    if (!SeriesRange(low, high)) low = high = 0;
    if (automatic_ || automaticMaximum_) maximum_ = high;
    if (automatic_ || automaticMinimum_) minimum_ = low;
  }
  Remap(minimum_, maximum_, PixelStart(), PixelEnd());
}

void TChartAxis::ComputeAxisPixels() {
  if (chart_ == nullptr) return;
  const TRect& plot = chart_->PlotRect;
  const int start = IsHorizontal() ? plot.Left : plot.Top;
  const int size = IsHorizontal() ? plot.Width() : plot.Height();
  Remap(RangeMin(), RangeMax(), start + RoundToInt(size * 0.01 * startPosition_),
        start + RoundToInt(size * 0.01 * endPosition_));
}

void TChartAxis::WidenForSeriesMargins() {
  int a = 0, b = 0;
  for (const TChartSeries* s : SeriesOnAxis(true)) {
    int sa = 0, sb = 0;
    if (IsHorizontal()) {
      s->HorizMargins(sa, sb);
    } else {
      s->VertMargins(sa, sb);
    }
    a = std::max(a, sa);
    b = std::max(b, sb);
  }
  if (!(automatic_ || automaticMinimum_)) a = 0;
  if (!(automatic_ || automaticMaximum_)) b = 0;
  if (a == 0 && b == 0) return;
  // The values at the old ends once the pixels moved in by the margins become the range.
  const TAxisMap narrowed = map_.WithPixels(PixelStart() + a, PixelEnd() - b);
  double first = narrowed.PixelToValue(PixelStart());
  double second = narrowed.PixelToValue(PixelEnd());
  ComputeAxisPixels();
  if (first > second) std::swap(first, second);
  Remap(first, second, PixelStart(), PixelEnd());
}

bool TChartAxis::IsVisible() const {
  if (chart_ == nullptr || !chart_->AxisVisible() || !visible_) return false;
  if (IsDepth()) return chart_->View3D();
  if (!chart_->HasActiveSeries()) return true;
  return !SeriesOnAxis(true).empty();
}

bool TChartAxis::AxisHitTest(int x, int y) const {
  if (!IsVisible()) return false;
  int across0, across1;
  if (labelsPos_ < axisLinePos_) {
    across0 = labelsPos_;
    across1 = axisLinePos_ + 3;
  } else {
    across0 = axisLinePos_ - 3;
    across1 = labelsPos_;
  }
  const int along0 = std::min(PixelStart(), PixelEnd());
  const int along1 = std::max(PixelStart(), PixelEnd());
  const TRect band = IsHorizontal() ? TRect{along0, across0, along1, across1}
                                    : TRect{across0, along0, across1, along1};
  return band.Contains(x, y);
}
