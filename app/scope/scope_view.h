// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "app/scope/cursor_pair.h"
#include "app/scope/scope_keys.h"
#include "app/scope/scope_point.h"
#include "chart/series/fast_line_series.h"
#include "sim/bench_ports.h"

class QAbstractButton;
class QAction;
class QLabel;
class TBench;
class TChart;
class TCurrentChannel;
class TWatchedTrace;
enum class TCurrentProbe;
namespace oscilloscope {
struct TTraceSetting;
}

// The oscilloscope as the user meets it: its traces (the bench's voltage and zero line, channel
// 2's current), cursors A and B, the read-out beside it, its keys, its projector look and its
// description for screen readers. The window's handlers of the chart, the "0 absolu" and
// "dezoom" buttons and channel 2's menu hand their work to it; the lab tools read the screen
// through it.
class TScopeView : public QObject {
  Q_OBJECT

 public:
  // The window's widgets around the chart; each may be absent (a chart alone in the tests).
  struct TControls {
    QLabel* readOut = nullptr;                 // Label1, the differences to the cross
    QLabel* readOutCaption = nullptr;          // Label2, "u (V) / t (ms) :"
    QAction* noCurrent = nullptr;              // Affichage › Voie 2 : Aucune
    QAction* motorCurrent = nullptr;           // … i (i1 in four quadrants)
    QAction* supplyCurrent = nullptr;          // … i2
    QAbstractButton* currentButton = nullptr;  // "i(t)"
  };

  // Lays the screen's settings and its series on `chart` in their drawing order and connects
  // `bench` to them, readings going to `readings`. The series belong to `owner` (the window, so
  // they are found among its children), else to the view. The bench and the chart must outlive
  // the view.
  TScopeView(TBench& bench, TChart& chart, TBenchOutput* readings, const TControls& controls,
             QObject* owner = nullptr);
  ~TScopeView() override;

  TChart& Chart() const { return chart_; }
  // Series1, the voltage; Series4, the zero line; Series7, channel 2 (empty while it is off).
  TFastLineSeries& Trace() const { return *series_[kTrace]; }
  TFastLineSeries& ZeroLine() const { return *series_[kZeroLine]; }
  TFastLineSeries& CurrentTrace() const { return *series_[kCurrent]; }
  const TCursorPair& Cursors() const { return *cursors_; }
  // Every line in drawing order with its colours (screen, projector, paper).
  struct TLine {
    TFastLineSeries* series;
    const oscilloscope::TTraceSetting* setting;
  };
  std::vector<TLine> Lines() const;

  // --- What the window's handlers ask -----------------------------------------------------------
  void MouseMove(int x, int y);
  // Cursor A (the cross) where the pointer is; cursor B with Shift held.
  void DoubleClick();
  void KeyDown(TScopeKey key);
  // The oscilloscope's keys, each handed on as an action for the window's handler.
  TScopeKeys& Keys() const { return *keys_; }
  // Cursor A (the bench's reference point) or B through `point`, across the ranges shown.
  void PlaceCursor(TScopeCursor cursor, TScopePoint point);
  // "0 absolu": both cursors gone, the read-out in absolute values.
  void ClearCursors();
  void Dezoom();
  // Channel 2 as chosen; the "i(t)" button turns it off, or on with the last current.
  void ChooseCurrent(TCurrentProbe probe);
  void ToggleCurrent();
  // Another experiment: channel 2's names follow (i1 and i2 in four quadrants).
  void SetFourQuadrants(bool fourQuadrants);
  // Channel 2's name as the screen shows it ("i", "i1", "i2"); empty while it is off.
  QString CurrentName() const;
  // After every handler: channel 2 follows a trace the bench rewrote, and the description
  // what the screen shows.
  void FollowBench();
  void Describe();
  // Projector mode: thick traces and cursors, dark grid, larger labels and read-out.
  void SetProjector(bool on);

 signals:
  // What "Mesures" shows may have changed: the traces, the ranges shown or a cursor.
  void Changed();
  // The read-out needs this width (0: as laid out) for its longest text.
  void ReadOutWidthNeeded(int width);

 private:
  enum { kZeroLine, kTrace, kCurrent, kCrossTime, kCrossVolts, kBTime, kBVolts, kSeries };
  void MakeSeries(QObject* owner);
  void HookChart();
  void ShowReadOut(TScopePoint point);
  QString ReadOutText(double volts, double ms) const;
  void ShowCurrentChoice();
  void FitReadOut();
  // The keyboard's cursors and zoom.
  void TakeCursor(TScopeCursor cursor);
  void MoveCursor(int direction, bool byDivision);
  void ZoomAroundCursor(double factor);

  TBench& bench_;
  TChart& chart_;
  TControls controls_;
  TFastLineSeries* series_[kSeries] = {};
  std::unique_ptr<TSeriesTrace<TFastLineSeries>> trace1_, trace4_;
  std::unique_ptr<TWatchedTrace> watchedTrace1_;
  std::unique_ptr<TCurrentChannel> channel_;
  std::unique_ptr<TCursorPair> cursors_;
  TScopeKeys* keys_ = nullptr;
  // The read-out's last differences (V, ms), once it has shown one: a change of channel 2
  // writes it again with the current's name, or without it.
  std::optional<TScopePoint> readOutShown_;
  int baseLabelSize_ = 8;
};
