// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope's screen, its cursors, the read-out and channel 2.
#include "app/scope/scope_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

#include "app/decimal_mark.h"
#include "app/guarded.h"
#include "app/oscilloscope_settings.h"
#include "app/scope/current_channel.h"
#include "chart/chart.h"
#include "sim/bench.h"
#include "sim/reading_format.h"

namespace {

const QString kScopeHint = QStringLiteral(
    "Double clic\u00A0: curseur A\u202F; Maj\u00A0+\u00A0double clic\u00A0: curseur B.\n"
    "Au clavier\u00A0: A ou B pose le curseur A ou B au milieu de la trace\u202F;\n"
    "← et → le déplacent d'un point, Ctrl\u00A0+\u00A0← et Ctrl\u00A0+\u00A0→ d'une "
    "division\u202F;\n"
    "+ et − zooment autour du curseur, Retour arrière revient (dezoom)\u202F;\n"
    "Échap retire les curseurs (0 absolu).");

}  // namespace

TScopeView::TScopeView(TBench& bench, TChart& chart, TBenchOutput* readings,
                       const TControls& controls, QObject* owner)
    : bench_(bench), chart_(chart), controls_(controls) {
  oscilloscope::ApplyChartSettings(chart_);
  MakeSeries(owner != nullptr ? owner : this);
  channel_ = std::make_unique<TCurrentChannel>(chart_, Trace(), CurrentTrace());
  cursors_ = std::make_unique<TCursorPair>(chart_, *series_[kCrossTime], *series_[kCrossVolts],
                                           *series_[kBTime], *series_[kBVolts]);
  trace1_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(Trace());
  trace4_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(ZeroLine());
  watchedTrace1_ = std::make_unique<TWatchedTrace>(*trace1_);
  bench_.Connect(readings, watchedTrace1_.get(), trace4_.get());
  bench_.SetDecimalSeparator(DecimalMark());
  baseLabelSize_ = chart_.BottomAxis().LabelsFont().Size;
  HookChart();
  // A click on the oscilloscope takes the keyboard from the box that had it, as a click on any
  // other control does; then its keys move the cursors and zoom.
  chart_.setFocusPolicy(Qt::StrongFocus);
  chart_.setToolTip(kScopeHint);
  keys_ = new TScopeKeys(this);
  keys_->Watch(&chart_);
}

// The chart may outlive the view by a little while the window is taken down.
TScopeView::~TScopeView() {
  chart_.OnZoom = nullptr;
  chart_.OnScroll = nullptr;
  chart_.OnUndoZoom = nullptr;
  chart_.OnAfterDrawSeries = nullptr;
}

// Drawing order: the zero line, the trace, channel 2, the cross (cursor A), then cursor B, so
// the cursors stay over both channels.
void TScopeView::MakeSeries(QObject* owner) {
  namespace osc = oscilloscope;
  const osc::TTraceSetting* settings[kSeries] = {
      &osc::kTraces[0], &osc::kTraces[1],  &osc::kCurrentTrace, &osc::kTraces[2],
      &osc::kTraces[3], &osc::kCursorB[0], &osc::kCursorB[1]};
  for (int i = 0; i < kSeries; ++i)
    series_[i] = osc::MakeTrace(chart_, *settings[i], owner);
}

std::vector<TScopeView::TLine> TScopeView::Lines() const {
  namespace osc = oscilloscope;
  return {{series_[kZeroLine], &osc::kTraces[0]},   {series_[kTrace], &osc::kTraces[1]},
          {series_[kCurrent], &osc::kCurrentTrace}, {series_[kCrossTime], &osc::kTraces[2]},
          {series_[kCrossVolts], &osc::kTraces[3]}, {series_[kBTime], &osc::kCursorB[0]},
          {series_[kBVolts], &osc::kCursorB[1]}};
}

// The chart zooms, pans and restores the right axis with the left one already; channel 2 keeps
// the ratio exact, whatever rounding each step brought.
void TScopeView::HookChart() {
  const auto follow = [this](TCustomChartPanelExtended*) {
    channel_->FollowLeftAxis();
    Guarded([this] { emit Changed(); });
  };
  chart_.OnZoom = follow;
  chart_.OnScroll = follow;
  chart_.OnUndoZoom = follow;
  chart_.OnAfterDrawSeries = [this](TCustomAxisPanel*) { channel_->DrawLegend(); };
}

// ---------------------------------------------------------------------------------------------
// The read-out and the cursors

// "U /T": each difference with two decimals and the user's separator; with channel 2 on,
// " / i : I A" after it, the right axis's difference at the same heights.
QString TScopeView::ReadOutText(double volts, double ms) const {
  const std::string& separator = DecimalMark();
  QString text = QString::fromStdString(FormatReading(volts, 2, separator) + " /" +
                                        FormatReading(ms, 2, separator));
  if (channel_->Choice().On()) {
    text +=
        QStringLiteral(" / %1\u00A0: %2\u00A0A")
            .arg(channel_->Choice().Name(),
                 QString::fromStdString(FormatReading(channel_->AmperesFor(volts), 2, separator)));
  }
  return text;
}

void TScopeView::MouseMove(int x, int y) {
  if (!chart_.PlotRect.Contains(x, y)) return;  // the read-out keeps its last text
  TScopePoint point;
  Trace().PointerToValues(point.ms, point.volts);  // where the pointer is now
  ShowReadOut(point);
}

void TScopeView::ShowReadOut(TScopePoint point) {
  readOutShown_ =
      TScopePoint{point.ms - bench_.ReferenceTime(), point.volts - bench_.ReferenceVoltage()};
  if (controls_.readOut != nullptr)
    controls_.readOut->setText(ReadOutText(readOutShown_->volts, readOutShown_->ms));
}

// The cross spans the ranges shown at this moment; the read-out becomes relative to it at the
// next move.
void TScopeView::DoubleClick() {
  TScopePoint point;
  Trace().PointerToValues(point.ms, point.volts);
  if (keys_->ShiftDoubleClick()) {
    cursors_->Place(TScopeCursor::kB, point);
    emit Changed();
    return;
  }
  PlaceCursor(TScopeCursor::kA, point);
}

// Cursor A is the bench's reference point: the read-out and the measures are relative to it.
void TScopeView::PlaceCursor(TScopeCursor cursor, TScopePoint point) {
  if (cursor == TScopeCursor::kA) bench_.SetReference(point.ms, point.volts);
  cursors_->Place(cursor, point);
  emit Changed();
}

void TScopeView::ClearCursors() {
  cursors_->Clear(TScopeCursor::kA);
  bench_.SetReference(0, 0);
  readOutShown_ = TScopePoint{bench_.ReferenceTime(), bench_.ReferenceVoltage()};
  if (controls_.readOut != nullptr)
    controls_.readOut->setText(ReadOutText(readOutShown_->volts, readOutShown_->ms));
  cursors_->Clear(TScopeCursor::kB);
  emit Changed();
}

void TScopeView::Dezoom() {
  chart_.ResetZoom();
}

// ---------------------------------------------------------------------------------------------
// Channel 2

// Turned on while zoomed, the right axis takes the left one's range of now.
void TScopeView::ChooseCurrent(TCurrentProbe probe) {
  channel_->Choice().Choose(probe);
  ShowCurrentChoice();
  channel_->FollowLeftAxis();
  channel_->Show(bench_);
  emit Changed();
}

void TScopeView::ToggleCurrent() {
  const TCurrentChoice& choice = channel_->Choice();
  ChooseCurrent(choice.On() ? TCurrentProbe::kNone : choice.Last());
}

void TScopeView::SetFourQuadrants(bool fourQuadrants) {
  channel_->Choice().SetFourQuadrants(fourQuadrants);
  ShowCurrentChoice();
}

QString TScopeView::CurrentName() const {
  return channel_->Choice().Name();
}

// The menu and the button say what is shown; i2 is offered in four quadrants only.
void TScopeView::ShowCurrentChoice() {
  const TCurrentChoice& choice = channel_->Choice();
  const TControls& c = controls_;
  if (c.motorCurrent != nullptr) {
    c.motorCurrent->setText(choice.FourQuadrants()
                                ? QStringLiteral("&i1\u00A0: courant de la machine n°1")
                                : QStringLiteral("&i\u00A0: courant du moteur"));
    c.supplyCurrent->setEnabled(choice.FourQuadrants());
    QAction* shown = choice.Probe() == TCurrentProbe::kMotor    ? c.motorCurrent
                     : choice.Probe() == TCurrentProbe::kSupply ? c.supplyCurrent
                                                                : c.noCurrent;
    shown->setChecked(true);
    c.currentButton->setChecked(choice.On());
  }
  if (c.readOut != nullptr) {
    c.readOut->setAccessibleDescription(
        choice.On() ? QStringLiteral("Lecture du curseur, tension (V) / temps (ms) / courant (A)")
                    : QStringLiteral("Lecture du curseur, tension (V) / temps (ms)"));
    if (readOutShown_) c.readOut->setText(ReadOutText(readOutShown_->volts, readOutShown_->ms));
  }
  FitReadOut();
}

// Room for the widest read-out with the current (two digits before the separator, as far as a
// cross and the pointer can be apart), in the label's font of now; with the channel off, the
// read-out as laid out.
void TScopeView::FitReadOut() {
  if (controls_.readOut == nullptr) return;
  emit ReadOutWidthNeeded(
      channel_->Choice().On()
          ? controls_.readOut->fontMetrics().horizontalAdvance(ReadOutText(-88.88, -88.88))
          : 0);
}

void TScopeView::FollowBench() {
  if (!watchedTrace1_->TakeRewritten()) return;
  channel_->Show(bench_);
  emit Changed();
}
