// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scope/current_channel.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/oscilloscope_settings.h"
#include "chart/chart.h"
#include "sim/current_wave.h"

// ---------------------------------------------------------------------------------------------
// The choice

bool TCurrentChoice::Choose(TCurrentProbe probe) {
  if (probe == TCurrentProbe::kSupply && !fourQuadrants_) return false;
  probe_ = probe;
  if (probe != TCurrentProbe::kNone) last_ = probe;
  return true;
}

void TCurrentChoice::SetFourQuadrants(bool fourQuadrants) {
  fourQuadrants_ = fourQuadrants;
  if (fourQuadrants) return;
  if (probe_ == TCurrentProbe::kSupply) probe_ = TCurrentProbe::kMotor;
  if (last_ == TCurrentProbe::kSupply) last_ = TCurrentProbe::kMotor;
}

QString TCurrentChoice::Name(TCurrentProbe probe) const {
  switch (probe) {
    case TCurrentProbe::kNone:
      break;
    case TCurrentProbe::kMotor:
      return fourQuadrants_ ? QStringLiteral("i1") : QStringLiteral("i");
    case TCurrentProbe::kSupply:
      return QStringLiteral("i2");
  }
  return {};
}

// ---------------------------------------------------------------------------------------------
// The channel on the screen

namespace {

constexpr int kLegendLine = 16;    // length of a legend's line, pixels
constexpr int kLegendPadding = 4;  // inside the legend's box, and between a line and its text
constexpr int kLegendInset = 6;    // from the plot's corner

// A label step of 1e-12 on the left axis is 1e-13 on the right one.
constexpr double kSmallestRightStep = 1e-13;

}  // namespace

TCurrentChannel::TCurrentChannel(TChart& chart, const TFastLineSeries& voltage,
                                 TFastLineSeries& current)
    : chart_(chart), voltage_(voltage), current_(current) {
  current_.SetVertAxis(aRightAxis);
  current_.SetActive(false);
  oscilloscope::ApplyCurrentAxisSettings(chart_);
}

void TCurrentChannel::Show(const TBench& bench) {
  if (!choice_.On()) {
    if (current_.PointCount() > 0) current_.ClearPoints();
    current_.SetActive(false);
    return;
  }
  const TCurrentWave wave = ComputeCurrentWave(bench);
  const std::vector<double>& values = choice_.Probe() == TCurrentProbe::kSupply ? wave.i2 : wave.i;
  const TChartValueList& times = voltage_.XValues();
  const int count = std::min(times.ValueCount(), static_cast<int>(values.size()));
  current_.ClearPoints();
  for (int k = 0; k < count; ++k)
    current_.AppendPoint(times.ValueAt(k), values[static_cast<std::size_t>(k)]);
  chart_.RightAxis().Title.SetCaption(choice_.Name() + QStringLiteral(" (A)"));
  current_.SetActive(true);
}

void TCurrentChannel::FollowLeftAxis() {
  const TChartAxis& left = chart_.LeftAxis();
  TChartAxis& right = chart_.RightAxis();
  right.SetAxisRange(left.Minimum() / oscilloscope::kVoltsPerAmpere,
                     left.Maximum() / oscilloscope::kVoltsPerAmpere);
  // The left axis tries steps from 1 (from 1e-12 under a volt): the right one from a tenth of
  // that meets the same counts, so it settles on a tenth of the left step.
  const double span = std::fabs(left.Maximum() - left.Minimum());
  right.SetIncrement(span >= 1 ? 1 / oscilloscope::kVoltsPerAmpere : kSmallestRightStep);
}

double TCurrentChannel::AmperesFor(double volts) const {
  const TChartAxis& left = chart_.LeftAxis();
  const TChartAxis& right = chart_.RightAxis();
  const double leftSpan = left.Maximum() - left.Minimum();
  if (leftSpan == 0) return volts / oscilloscope::kVoltsPerAmpere;
  return volts * (right.Maximum() - right.Minimum()) / leftSpan;
}

void TCurrentChannel::SetHighContrast(bool on) {
  current_.LinePen().SetWidth(on ? oscilloscope::kProjectorTraceWidth : 1);
  FollowLeftAxisLook();
}

void TCurrentChannel::FollowLeftAxisLook() {
  const TChartAxis& left = chart_.LeftAxis();
  TChartAxis& right = chart_.RightAxis();
  right.SetLabelsFont(left.LabelsFont());
  right.Ticks.SetColor(left.Ticks.Color());
  right.TicksInner.SetColor(left.TicksInner.Color());
  right.MinorTicks.SetColor(left.MinorTicks.Color());
  TCanvasFont title = left.LabelsFont();
  title.Color = oscilloscope::kIndigo;
  right.Title.SetFont(title);
}

// Two short lines in the traces' colours, each with its channel's name, in a white box at the
// plot's top-left corner. The text is the axes' labels' (larger in projector mode).
void TCurrentChannel::DrawLegend() {
  if (!choice_.On()) return;
  TChartCanvas3D& canvas = chart_.Canvas();
  canvas.Font() = chart_.LeftAxis().LabelsFont();
  const struct {
    const TFastLineSeries& series;
    QString text;
  } rows[] = {{voltage_, QStringLiteral("voie 1\u00A0: u (V)")},
              {current_, QStringLiteral("voie 2\u00A0: %1 (A)").arg(choice_.Name())}};
  const int lineHeight = canvas.LineHeight();
  int textWidth = 0;
  for (const auto& row : rows)
    textWidth = std::max(textWidth, canvas.TextWidthOf(row.text));
  const int left = chart_.PlotRect.Left + kLegendInset;
  const int top = chart_.PlotRect.Top + kLegendInset;
  const int width = 3 * kLegendPadding + kLegendLine + textWidth;
  const int height = 2 * kLegendPadding + 2 * lineHeight;
  canvas.Pen() = TCanvasPen{clGray, psSolid, 1, pmCopy};
  canvas.Brush() = TCanvasBrush{clWhite, bsSolid};
  canvas.DrawRectangle(left, top, left + width, top + height);
  canvas.SetBackgroundMode(bkTransparent);
  canvas.SetTextAlignment(taLeft + taTop);
  int y = top + kLegendPadding;
  for (const auto& row : rows) {
    const TColor colour = row.series.SeriesColor();
    canvas.Pen() = TCanvasPen{colour, psSolid, std::max(2, row.series.LinePen().Width()), pmCopy};
    const int x = left + kLegendPadding;
    canvas.DrawHorizLine(x, x + kLegendLine, y + lineHeight / 2);
    canvas.Font().Color = colour;
    canvas.PutText(x + kLegendLine + kLegendPadding, y, row.text);
    y += lineHeight;
  }
  canvas.ResetCanvasState();
}

QIcon TCurrentChannel::ProbeIcon() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(ToQColor(oscilloscope::kIndigo), 1.6));
  // A current rising while the switch conducts and falling while the diode does.
  const QPolygonF ripple({{1, 11}, {6, 5}, {8, 8}, {13, 3}, {15, 6}});
  painter.drawPolyline(ripple);
  painter.drawLine(QPointF(1, 14), QPointF(15, 14));
  return QIcon(picture);
}
