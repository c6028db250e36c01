// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope's view on its own: what it says changed, its cursors as typed points, the
// projector switch, and one caption for each measure wherever it is named.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <functional>

#include "app/instruments.h"
#include "app/lab/lab_tools.h"
#include "app/lab/measures_window.h"
#include "app/projector_mode.h"
#include "app/scope/current_channel.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"
#include "sim/bench.h"

namespace {

struct Scope {
  Scope() {
    chart.resize(600, 400);
    bench.ChooseExperiment(TExperiment::kOneQuadrant);
    bench.ChooseWiring(TWiring::kWithInductance, [] {});
    bench.SetSpeedSetting(100);
    bench.RefreshOneOrTwoQuadrant();
    view.FollowBench();
  }
  TChart chart;
  TBench bench;
  TInstruments instruments;
  TScopeView view{bench, chart, &instruments, {}};
};

// "Mesures" follows what changes what it shows, and nothing else: a paint is not a change.
TEST(ScopeView, SaysChangedForTracesRangesAndCursorsNotForPaints) {
  Scope s;
  const struct {
    const char* action;
    std::function<void()> act;
    int changes;
  } rows[] = {
      {"paint", [&] { s.chart.PaintChart(nullptr, s.chart.ClientRect()); }, 0},
      {"zoom", [&] { s.chart.ApplyZoom(0, 0, 5, 15, -10, 10, -1, 1); }, 1},
      {"dezoom", [&] { s.view.Dezoom(); }, 1},
      {"cursor B",
       [&] {
         s.view.PlaceCursor(TScopeCursor::kB, {7.5, 3});
       },
       1},
      {"a rewritten trace, once its handler ends",
       [&] {
         s.bench.SetSpeedSetting(60);
         s.bench.RefreshOneOrTwoQuadrant();
         s.view.FollowBench();
         s.view.FollowBench();  // nothing new the second time
       },
       1},
      {"channel 2", [&] { s.view.ChooseCurrent(TCurrentProbe::kMotor); }, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.action);
    QSignalSpy changed(&s.view, &TScopeView::Changed);
    row.act();
    EXPECT_EQ(changed.count(), row.changes);
  }
}

// Cursor A is the bench's reference point; both keep their time and voltage apart and their
// lines span the screen as it is after a zoom; "0 absolu" clears both.
TEST(ScopeView, CursorsAreTypedPointsTheReadOutAndTheBenchAgreeOn) {
  Scope s;
  s.view.PlaceCursor(TScopeCursor::kA, {2.5, -4});
  s.view.PlaceCursor(TScopeCursor::kB, {7.5, 3});
  EXPECT_EQ(s.view.Cursors().A(), (TScopePoint{2.5, -4}));
  EXPECT_EQ(s.view.Cursors().B(), (TScopePoint{7.5, 3}));
  EXPECT_EQ(s.bench.ReferenceTime(), 2.5);
  EXPECT_EQ(s.bench.ReferenceVoltage(), -4);
  s.chart.ApplyZoom(0, 0, 0, 50, -50, 50, -5, 5);
  s.view.KeyDown(TScopeKey::kZoomOut);  // the keys' zoom spans the cursors' lines again
  auto* vertical = s.view.findChild<TFastLineSeries*>(QStringLiteral("Series5"));
  ASSERT_NE(vertical, nullptr);
  EXPECT_EQ(vertical->YValues().Values(),
            (std::vector<double>{s.chart.LeftAxis().Minimum(), s.chart.LeftAxis().Maximum()}));
  s.view.ClearCursors();
  EXPECT_FALSE(s.view.Cursors().A());
  EXPECT_FALSE(s.view.Cursors().B());
  EXPECT_EQ(s.bench.ReferenceTime(), 0);
}

// The switch is remembered for the next run, and says so only when it changes.
TEST(ProjectorMode, RemembersAndSignalsOnlyAChange) {
  QSettings().remove(QStringLiteral("affichage/contraste_eleve"));
  TProjectorMode mode;
  QSignalSpy changed(&mode, &TProjectorMode::Changed);
  for (bool on : {true, true, false})
    mode.Set(on);
  EXPECT_EQ(changed.count(), 2);
  EXPECT_FALSE(TProjectorMode::Saved());
  mode.Set(true);
  EXPECT_TRUE(TProjectorMode::Saved());
  QSettings().remove(QStringLiteral("affichage/contraste_eleve"));
}

// Each value of "Mesures" is named for a screen reader as the printed page captions it, channel
// 2's after the current shown.
TEST(MeasureCaptions, WindowAndPrintedPageNameEachValueAlike) {
  Scope s;
  QWidget window;
  TLabTools tools(&window, s.bench, s.view, s.instruments);
  tools.ShowMeasures();
  auto* shown = window.findChild<TMeasuresWindow*>();
  ASSERT_NE(shown, nullptr);
  for (TCurrentProbe probe : {TCurrentProbe::kNone, TCurrentProbe::kMotor}) {
    s.view.ChooseCurrent(probe);
    QStringList captions;
    for (const auto& row : MeasuresRows(tools.MeasuresText(), probe != TCurrentProbe::kNone))
      captions.append(row.first);
    for (const QLabel* label : shown->findChildren<QLabel*>()) {
      const bool value = label->objectName().endsWith(QStringLiteral("Value"));
      const bool current = label->objectName().startsWith(QStringLiteral("Current")) ||
                           label->objectName() == QStringLiteral("DeltaIValue");
      if (!value || (current && probe == TCurrentProbe::kNone)) continue;
      EXPECT_TRUE(captions.contains(label->accessibleName()))
          << label->objectName().toStdString() << ": " << label->accessibleName().toStdString();
    }
  }
}

}  // namespace
