// SPDX-License-Identifier: GPL-3.0-or-later
// Room, labels, ticks and grid of an axis.
#include <algorithm>

#include "chart/axis/axis_labels.h"
#include "chart/axis/chart_axis.h"
#include "chart/panel/custom_axis_panel.h"
#include "chart/series/chart_series.h"

namespace {

int LineCount(const QString& text) {
  return static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
}

}  // namespace

// The same values are labelled on every paint: their texts are kept, per separators.
QString TChartAxis::FormattedValue(double value) const {
  const QString separators =
      chart_->LabelDecimalSeparator + QLatin1Char('|') + chart_->LabelThousandSeparator;
  if (separators != formattedSeparators_ || formatted_.size() > 4096) {
    formatted_.clear();
    formattedSeparators_ = separators;
  }
  auto it = formatted_.find(value);
  if (it == formatted_.end()) {
    it = formatted_
             .emplace(value, FormatAxisValue(value, chart_->LabelDecimalSeparator,
                                             chart_->LabelThousandSeparator))
             .first;
  }
  return it->second;
}

QString TChartAxis::AxisLabelText(double value) {
  QString text = FormattedValue(value);
  if (chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, value, text);
  return text;
}

// Labels read along the axis when their lines run parallel to it.
static bool ReadsAlong(bool horizontal, int angle) {
  return horizontal ? angle == 0 || angle == 180 : angle == 90 || angle == 270;
}

int TChartAxis::LabelWidth(double value) {
  TChartCanvas3D& canvas = chart_->Canvas();
  const QString text = AxisLabelText(value);
  if (labelsAngle_ == 90 || labelsAngle_ == 270) return canvas.LineHeight() * LineCount(text);
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    widest = std::max(widest, canvas.TextWidthOf(line));
  }
  return widest;
}

int TChartAxis::LabelHeight(double value) {
  TChartCanvas3D& canvas = chart_->Canvas();
  const QString text = AxisLabelText(value);
  if (labelsAngle_ == 0 || labelsAngle_ == 180) return canvas.LineHeight() * LineCount(text);
  return canvas.TextWidthOf(text);
}

int TChartAxis::LargestLabelSize() {
  chart_->Canvas().Font() = labelsFont_;
  return IsHorizontal() ? std::max(LabelWidth(RangeMin()), LabelWidth(RangeMax()))
                        : std::max(LabelHeight(RangeMin()), LabelHeight(RangeMax()));
}

double TChartAxis::LabelStep() {
  const int maxLabels = MaxLabelCount(PixelLength(), LargestLabelSize(), labelsSeparation_);
  return ChooseLabelStep(RangeSpan(), increment_, labelsSeparation_, maxLabels);
}

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() const {
  if (labelStyle_ != talAuto) return labelStyle_;
  const std::vector<TChartSeries*> series = SeriesOnAxis(true);
  if (series.empty()) return talNone;
  for (const TChartSeries* s : series) {
    // Point texts label a horizontal axis (the series' Y values are the mandatory ones).
    if (IsHorizontal() && s->PointCount() > 0 && !s->PointLabel(0).empty()) return talText;
  }
  return talValue;
}

int TChartAxis::WidestLabel() {
  const TAxisLabelStyle style = EffectiveLabelStyle();
  if (style == talNone) return 0;
  TChartCanvas3D& canvas = chart_->Canvas();
  canvas.Font() = labelsFont_;
  if (style == talMark || style == talText) {
    int widest = 0;
    for (const TChartSeries* s : SeriesOnAxis(true)) {
      for (int i = 0; i < s->PointCount(); ++i) {
        widest = std::max(widest, canvas.TextWidthOf(QString::fromStdString(s->PointLabel(i))));
      }
    }
    return widest;
  }
  // With the step of the last layout (none before the first one: 1e-12).
  const double step = LabelStep();
  double low = RangeMin(), high = RangeMax();
  if (roundFirstLabel_) {
    low = static_cast<double>(TruncToInt64(RangeMin() / step)) * step;
    high = static_cast<double>(TruncToInt64(RangeMax() / step)) * step;
  }
  // The label hook is left out of this measure.
  const QString lowText = FormattedValue(low);
  const QString highText = FormattedValue(high);
  return std::max(canvas.TextWidthOf(lowText), canvas.TextWidthOf(highText)) +
         canvas.TextWidthOf(QStringLiteral(" "));
}

int TChartAxis::TickRoom() const {
  int room = Axis.Visible() ? Axis.Width() : 0;
  if (Ticks.Visible()) room += tickLength_;
  if (MinorTicks.Visible()) room = std::max(room, minorTickLength_);
  return room;
}

int TChartAxis::PlotSizeAcross() const {
  return IsHorizontal() ? chart_->PlotHeight() : chart_->PlotWidth();
}

// How far PositionPercent moves the axis line into the plot.
int TChartAxis::PositionShift() const {
  if (positionPercent_ == 0) return 0;
  return RoundToInt(positionPercent_ * 0.01 * PlotSizeAcross());
}

int TChartAxis::TitleRoom() {
  if (Title.Caption().isEmpty()) return 0;
  TChartCanvas3D& canvas = chart_->Canvas();
  canvas.Font() = Title.Font();
  if (titleSize_ != 0) return titleSize_;
  return ReadsAlong(IsHorizontal(), Title.Angle()) ? canvas.LineHeight()
                                                   : canvas.TextWidthOf(Title.Caption());
}

void TChartAxis::ReserveAxisRoom(TRect& rect) {
  TChartCanvas3D& canvas = chart_->Canvas();
  // Moves the edge on the axis's side inward by `room` and returns the new edge.
  const auto cut = [&](int room) -> int {
    switch (kind_) {
      case kBottom:
        return rect.Bottom -= room;
      case kTop:
        return rect.Top += room;
      case kLeft:
        return rect.Left += room;
      default:
        return rect.Right -= room;
    }
  };
  const auto outward = [&](int from, int room) {
    return kind_ == kBottom || kind_ == kRight || kind_ == kDepth ? from + room : from - room;
  };
  const int titleRoom = TitleRoom();
  int labelsRoom = 0;
  if (labels_) {
    canvas.Font() = labelsFont_;
    labelsRoom = labelsSize_ != 0                           ? labelsSize_
                 : ReadsAlong(IsHorizontal(), labelsAngle_) ? canvas.LineHeight()
                                                            : WidestLabel();
  }
  const int tickRoom = TickRoom();

  if (!Title.Caption().isEmpty()) titlePos_ = cut(titleRoom);
  if (labels_) labelsPos_ = cut(labelsRoom);
  if (tickRoom != 0) cut(tickRoom);
  const int shift = PositionShift();
  titlePos_ = outward(titlePos_, -shift);
  labelsPos_ = outward(labelsPos_, -shift);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TChartAxis::ComputeTicks() {
  chart_->Canvas().Font() = labelsFont_;
  const double step = LabelStep();

  const TRect& plot = chart_->PlotRect;
  switch (kind_) {
    case kBottom:
      axisLinePos_ = plot.Bottom;
      break;
    case kTop:
      axisLinePos_ = plot.Top;
      break;
    case kLeft:
      axisLinePos_ = plot.Left;
      break;
    default:
      axisLinePos_ = plot.Right;
      break;
  }
  const int shift = PositionShift();
  axisLinePos_ += kind_ == kBottom || kind_ == kRight || kind_ == kDepth ? -shift : shift;

  TTickRules rules;
  rules.step = step;
  rules.valueLabels = EffectiveLabelStyle() == talValue && (!logarithmic_ || increment_ != 0);
  rules.labels = labels_;
  rules.roundFirstLabel = roundFirstLabel_;
  rules.labelsOnAxis = labelsOnAxis_;
  rules.tickOnLabelsOnly = tickOnLabelsOnly_;
  rules.minorCount = MinorTicks.Visible() ? minorTickCount_ : 0;
  rules.logarithmicBase = logarithmicBase_;
  ticks_ = ComputeAxisTicks(map_, rules, [this](double v) { return AxisLabelText(v); });
}

void TChartAxis::DrawAxis() {
  if (!Title.Caption().isEmpty()) DrawTitle();
  for (const TAxisLabel& label : ticks_.labels)
    DrawLabel(label.pixel, label.text);
  DrawTicksAndGrid();
}

// The title in the middle of its band beyond the labels, centred along the axis.
void TChartAxis::DrawTitle() {
  const int room = TitleRoom();  // leaves the title font on the canvas
  const int half = room / 2;
  const bool outward = kind_ == kBottom || kind_ == kRight || kind_ == kDepth;
  const int across = outward ? titlePos_ + half : titlePos_ - room + half;
  const int along = PixelCenter();
  TChartCanvas3D& canvas = chart_->Canvas();
  if (IsHorizontal()) {
    canvas.PutRotatedText(along, across, Title.Angle(), Title.Caption());
  } else {
    canvas.PutRotatedText(across, along, Title.Angle(), Title.Caption());
  }
}

void TChartAxis::DrawLabel(int pixel, const QString& text) {
  TChartCanvas3D& canvas = chart_->Canvas();
  canvas.Brush() = {chart_->Color(), bsClear};
  canvas.SetBackgroundMode(bkTransparent);
  canvas.Font() = labelsFont_;
  const int lineHeight = canvas.LineHeight();
  const QStringList lines = text.split(QLatin1Char('\n'));
  const int count = static_cast<int>(lines.size());
  if (IsHorizontal()) {
    canvas.SetTextAlignment(IsOtherSide() ? taCenter + taBottom : taCenter);
    for (int i = 0; i < count; ++i)
      canvas.PutText(pixel, labelsPos_ + i * lineHeight, lines[i]);
  } else {
    canvas.SetTextAlignment(IsOtherSide() ? taLeft : taRight);
    int top = pixel - lineHeight / 2;
    if (count > 1) top += -RoundToInt(lineHeight * (count + 1) / 2.0) + lineHeight;
    for (int i = 0; i < count; ++i)
      canvas.PutText(labelsPos_, top + i * lineHeight, lines[i]);
  }
  canvas.SetTextAlignment(taLeft + taTop);
}

// Ticks point away from the plot by `offset` then run `length` pixels (negative values go into
// the plot, for inner ticks).
void TChartAxis::DrawTickSet(const std::vector<int>& positions, int offset, int length) {
  std::vector<TPoint> ends;
  ends.reserve(positions.size() * 2);
  for (int p : positions) {
    switch (kind_) {
      case kBottom:
        ends.push_back({p, axisLinePos_ + offset});
        ends.push_back({p, axisLinePos_ + offset + length});
        break;
      case kTop:
        ends.push_back({p, axisLinePos_ - offset});
        ends.push_back({p, axisLinePos_ - offset - length});
        break;
      case kLeft:
        ends.push_back({axisLinePos_ - offset, p});
        ends.push_back({axisLinePos_ - offset - length, p});
        break;
      default:
        ends.push_back({axisLinePos_ + offset, p});
        ends.push_back({axisLinePos_ + offset + length, p});
        break;
    }
  }
  chart_->Canvas().Segments(ends);
}

void TChartAxis::DrawGridLines(const TChartPen& pen, const std::vector<int>& positions) {
  TChartCanvas3D& canvas = chart_->Canvas();
  canvas.Brush().Style = bsClear;
  canvas.SetBackgroundMode(bkTransparent);  // the gaps of a dotted grid show the background
  canvas.UseChartPen(pen);
  if (pen.Color() == clDefault) canvas.Pen().Color = clGray;
  const TRect& plot = chart_->PlotRect;
  std::vector<int> lines;
  if (!gridCentered_) {
    lines = positions;
  } else {
    for (std::size_t i = 1; i < positions.size(); ++i) {
      lines.push_back(RoundToInt((positions[i] + positions[i - 1]) * 0.5));
    }
  }
  if (IsHorizontal()) {
    canvas.DrawVertLines(lines, plot.Top, plot.Bottom);
  } else {
    std::vector<TPoint> ends;
    for (int p : lines) {
      ends.push_back({plot.Left, p});
      ends.push_back({plot.Right, p});
    }
    canvas.Segments(ends);
  }
  canvas.SetBackgroundMode(bkOpaque);
}

void TChartAxis::DrawTicksAndGrid() {
  TChartCanvas3D& canvas = chart_->Canvas();
  if (Axis.Visible()) {
    canvas.UseChartPen(Axis);
    if (IsHorizontal()) {
      canvas.DrawHorizLine(PixelStart(), PixelEnd(), axisLinePos_);
    } else {
      canvas.DrawVertLine(axisLinePos_, PixelStart(), PixelEnd());
    }
  }
  if (Ticks.Visible()) {
    canvas.UseChartPen(Ticks);
    DrawTickSet(ticks_.positions, 1, tickLength_);
  }
  if (Grid.Visible()) DrawGridLines(Grid, ticks_.positions);
  if (TicksInner.Visible()) {
    canvas.UseChartPen(TicksInner);
    DrawTickSet(ticks_.positions, -1, -tickInnerLength_);
  }
  if (MinorTicks.Visible() && !ticks_.positions.empty()) {
    canvas.UseChartPen(MinorTicks);
    DrawTickSet(ticks_.minor, 1, minorTickLength_);
    if (MinorGrid.Visible()) DrawGridLines(MinorGrid, ticks_.minor);
  }
}
