// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <utility>

#include "sim/bench_ports.h"

class TBench;
class TChart;
class TFastLineSeries;

// What the oscilloscope's second channel measures: nothing ("Aucune"), the motor's current (i;
// i1, machine n°1's, in four quadrants) or, in four quadrants only, the supply's (i2).
enum class TCurrentProbe { kNone, kMotor, kSupply };

// The choice of channel 2, apart from any widget: what is shown, the current the tool bar's
// button brings back, and their names in the experiment in force. Nothing is remembered from
// one run to the next: the channel starts off.
class TCurrentChoice {
 public:
  TCurrentProbe Probe() const { return probe_; }
  bool On() const { return probe_ != TCurrentProbe::kNone; }
  // The current the button turns the channel on with: the last one chosen, i at first.
  TCurrentProbe Last() const { return last_; }
  bool FourQuadrants() const { return fourQuadrants_; }

  // False, and nothing changes, for i2 outside the four-quadrant experiment.
  bool Choose(TCurrentProbe probe);
  // The button: off when on, else the last current.
  void Toggle() { Choose(On() ? TCurrentProbe::kNone : last_); }
  // Another experiment: outside four quadrants i2 falls back to i, shown or remembered.
  void SetFourQuadrants(bool fourQuadrants);

  // "i", "i1" or "i2" as the screen names `probe` in this experiment; empty for kNone.
  QString Name(TCurrentProbe probe) const;
  QString Name() const { return Name(probe_); }

 private:
  TCurrentProbe probe_ = TCurrentProbe::kNone;
  TCurrentProbe last_ = TCurrentProbe::kMotor;
  bool fourQuadrants_ = false;
};

// Channel 2 on the oscilloscope: the series filled from the current model on the voltage
// trace's X values, the right axis kept at a tenth of the left one through every zoom, pan and
// "dezoom", its title, and the legend in the plot's corner. Off, the series is empty and
// inactive, so the right axis, its room and the legend are not there and the screen is the
// one-channel screen pixel for pixel.
class TCurrentChannel {
 public:
  // `current` is attached to `chart` already, in its place in the drawing order. The scope view
  // calls FollowLeftAxis after each zoom, pan and "dezoom", and DrawLegend after the series.
  TCurrentChannel(TChart& chart, const TFastLineSeries& voltage, TFastLineSeries& current);
  TCurrentChannel(const TCurrentChannel&) = delete;
  TCurrentChannel& operator=(const TCurrentChannel&) = delete;

  TCurrentChoice& Choice() { return choice_; }
  const TCurrentChoice& Choice() const { return choice_; }

  // The channel as chosen, for `bench` as it stands and the trace it drew.
  void Show(const TBench& bench);
  // The right axis at a tenth of the left one: its range, and a label step that falls on the
  // left axis's grid lines.
  void FollowLeftAxis();
  // The difference on the right axis for a difference of `volts` on the left one, at the same
  // heights: what the read-out gives beside the voltage.
  double AmperesFor(double volts) const;
  // Projector mode: the trace as thick as the voltage's, the right axis's text as large as the
  // left one's (its labels, ticks and title follow the left axis as it is now).
  void SetHighContrast(bool on);

  // The legend in the plot's corner while the channel is on; nothing while it is off.
  void DrawLegend();

  // The tool bar button's picture when it has no room for its caption: a small ripple.
  static QIcon ProbeIcon();

 private:
  void FollowLeftAxisLook();

  TChart& chart_;
  const TFastLineSeries& voltage_;
  TFastLineSeries& current_;
  TCurrentChoice choice_;
};

// The bench's feed of the voltage trace, noting each rewrite: channel 2 follows once the
// handler that rewrote it is done, whatever the handler was.
class TWatchedTrace final : public TBenchTrace {
 public:
  explicit TWatchedTrace(TBenchTrace& trace) : trace_(trace) {}
  void ClearPoints() override {
    rewritten_ = true;
    trace_.ClearPoints();
  }
  void AppendPoints(const double* x, const double* y, int count) override {
    rewritten_ = true;
    trace_.AppendPoints(x, y, count);
  }
  // Whether the trace was rewritten since the last call.
  bool TakeRewritten() { return std::exchange(rewritten_, false); }

 private:
  TBenchTrace& trace_;
  bool rewritten_ = false;
};
