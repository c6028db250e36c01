// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/measures.h"

#include <optional>
#include <vector>

#include "app/decimal_mark.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"
#include "sim/bench.h"
#include "sim/measure.h"

namespace {

const QString kNone = QString::fromUtf8(kUndefinedMeasure);

QString Quantity(const std::optional<double>& value, const char* unit, int decimals) {
  return QString::fromStdString(FormatQuantity(value, unit, decimals, DecimalMark()));
}

QString Point(TScopePoint point) {
  return QStringLiteral("t = %1, u = %2")
      .arg(Quantity(point.ms, "ms", 2), Quantity(point.volts, "V", 2));
}

// A trace's measures over the whole periods between the bottom axis's ends.
TTraceMeasures MeasureShown(const TFastLineSeries& trace, const TChartAxis& bottom) {
  const TPointValues points = trace.PointValues();
  return MeasureTrace(points.x.data(), points.y.data(), trace.PointCount(), bottom.Minimum(),
                      bottom.Maximum(), TBench::kPeriodSamples);
}

void Fill(TChannelMeasures& channel, const TTraceMeasures& m, const char* unit, int decimals) {
  if (m.Empty()) return;
  channel.mean = Quantity(m.mean, unit, decimals);
  channel.rms = Quantity(m.rms, unit, decimals);
  channel.min = Quantity(m.min, unit, decimals);
  channel.max = Quantity(m.max, unit, decimals);
  channel.peakToPeak = Quantity(m.peakToPeak, unit, decimals);
}

// Channel 2 as channel 1: the same whole periods of what is shown, in A to the milliampere (the
// ripple with the smoothing inductor is a tenth of an ampere). The cursors, set on the voltage,
// read the current at their times on its drawn line.
void MeasureCurrent(TMeasuresText& text, const TScopeView& scope) {
  const QString name = scope.CurrentName();
  if (name.isEmpty()) return;  // off: the column keeps its dashes
  text.current.name = name;
  const TFastLineSeries& current = scope.CurrentTrace();
  Fill(text.current, MeasureShown(current, scope.Chart().BottomAxis()), "A", 3);
  const std::optional<TScopePoint> a = scope.Cursors().A(), b = scope.Cursors().B();
  if (!a || !b) return;
  const TPointValues points = current.PointValues();
  const int count = current.PointCount();
  const std::optional<double> iA = ValueAtTime(points.x.data(), points.y.data(), count, a->ms);
  const std::optional<double> iB = ValueAtTime(points.x.data(), points.y.data(), count, b->ms);
  if (iA && iB) text.deltaI = Quantity(*iB - *iA, "A", 3);
}

void MeasureCursors(TMeasuresText& text, const TScopeView& scope) {
  const std::optional<TScopePoint> a = scope.Cursors().A(), b = scope.Cursors().B();
  text.cursorA = a ? Point(*a) : kNone;
  text.cursorB = b ? Point(*b) : kNone;
  text.deltaT = text.deltaU = text.inverseDeltaT = kNone;
  if (!a || !b) return;
  const TCursorDelta d = CursorDifference(a->ms, a->volts, b->ms, b->volts);
  text.deltaT = Quantity(d.dtMs, "ms", 2);
  text.deltaU = Quantity(d.dU, "V", 2);
  text.inverseDeltaT = QString::fromStdString(FormatInverseTime(d.dtMs, DecimalMark()));
}

}  // namespace

QString MeasureCaption(TMeasure measure, const QString& channel) {
  const bool voltage = channel == QStringLiteral("u");
  switch (measure) {
    case TMeasure::kMean:
      return QStringLiteral("Moyenne ⟨%1⟩").arg(channel);
    case TMeasure::kRms:
      return QStringLiteral("Valeur efficace %1").arg(channel.toUpper());
    case TMeasure::kMin:
      return voltage ? QStringLiteral("Minimum") : QStringLiteral("Minimum de %1").arg(channel);
    case TMeasure::kMax:
      return voltage ? QStringLiteral("Maximum") : QStringLiteral("Maximum de %1").arg(channel);
    case TMeasure::kPeakToPeak:
      return voltage ? QStringLiteral("Crête à crête")
                     : QStringLiteral("Ondulation Δ%1 (crête à crête)").arg(channel);
    case TMeasure::kTop:
      return QStringLiteral("Niveau haut");
    case TMeasure::kBase:
      return QStringLiteral("Niveau bas");
    case TMeasure::kPeriod:
      return QStringLiteral("Période");
    case TMeasure::kFrequency:
      return QStringLiteral("Fréquence");
    case TMeasure::kCursorA:
      return QStringLiteral("Curseur A");
    case TMeasure::kCursorB:
      return QStringLiteral("Curseur B");
    case TMeasure::kDeltaT:
      return QStringLiteral("Δt");
    case TMeasure::kDeltaU:
      return QStringLiteral("ΔU");
    case TMeasure::kDeltaI:
      return QStringLiteral("Δ%1").arg(channel.toUpper());
    case TMeasure::kInverseDeltaT:
      return QStringLiteral("1/Δt");
  }
  return {};
}

QList<QPair<QString, QString>> MeasuresRows(const TMeasuresText& m, bool currentOn) {
  const auto channelRows = [](const TChannelMeasures& c) {
    return QList<QPair<QString, QString>>{
        {MeasureCaption(TMeasure::kMean, c.name), c.mean},
        {MeasureCaption(TMeasure::kRms, c.name), c.rms},
        {MeasureCaption(TMeasure::kMin, c.name), c.min},
        {MeasureCaption(TMeasure::kMax, c.name), c.max},
        {MeasureCaption(TMeasure::kPeakToPeak, c.name), c.peakToPeak}};
  };
  QList<QPair<QString, QString>> rows = channelRows(m.voltage);
  rows += {{MeasureCaption(TMeasure::kTop), m.top},
           {MeasureCaption(TMeasure::kBase), m.base},
           {MeasureCaption(TMeasure::kPeriod), m.period},
           {MeasureCaption(TMeasure::kFrequency), m.frequency},
           {m.dutyCycleCaption, m.dutyCycle}};
  if (currentOn) rows += channelRows(m.current);
  rows += {{MeasureCaption(TMeasure::kCursorA), m.cursorA},
           {MeasureCaption(TMeasure::kCursorB), m.cursorB},
           {MeasureCaption(TMeasure::kDeltaT), m.deltaT},
           {MeasureCaption(TMeasure::kDeltaU), m.deltaU}};
  if (currentOn) rows.append({MeasureCaption(TMeasure::kDeltaI, m.current.name), m.deltaI});
  rows.append({MeasureCaption(TMeasure::kInverseDeltaT), m.inverseDeltaT});
  return rows;
}

TMeasuresText MeasureScope(const TScopeView& scope) {
  TMeasuresText text;
  const TTraceMeasures m = MeasureShown(scope.Trace(), scope.Chart().BottomAxis());
  Fill(text.voltage, m, "V", 2);
  text.top = Quantity(m.top, "V", 2);
  text.base = Quantity(m.base, "V", 2);
  text.period = Quantity(m.periodMs, "ms", 2);
  text.frequency = Quantity(m.frequencyHz, "Hz", 0);
  text.dutyCycle = Quantity(m.dutyCycle, "", 2);
  // Which level alpha counts: +E or -E is the chopper's active level, whichever its voltage.
  text.dutyCycleCaption = m.activeLevel == TActiveLevel::kPositive   ? QStringLiteral("α (à +E)")
                          : m.activeLevel == TActiveLevel::kNegative ? QStringLiteral("α (à −E)")
                                                                     : QStringLiteral("α");
  MeasureCursors(text, scope);
  MeasureCurrent(text, scope);
  return text;
}
