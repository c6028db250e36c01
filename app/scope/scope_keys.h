// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <vector>

class QWidget;

// What a key does on the oscilloscope while it holds the focus.
enum class TScopeKey {
  kNone,
  kCursorA,          // A: cursor A becomes the one the arrows move, set first if absent
  kCursorB,          // B: the same for cursor B
  kSampleBack,       // Left
  kSampleForward,    // Right
  kDivisionBack,     // Ctrl+Left
  kDivisionForward,  // Ctrl+Right
  kZoomIn,           // +
  kZoomOut,          // −
  kDezoom,           // Backspace, as the "dezoom" button
  kClearCursors      // Escape, as the "0 absolu" button
};
TScopeKey ScopeKeyAction(int key, Qt::KeyboardModifiers modifiers);

// The cursor the arrow keys move.
enum class TScopeCursor { kNone, kA, kB };

// Where a cursor at `time` goes along a trace whose `times` rise: `direction` (+1 or −1) one
// sample on when `span` is 0, else to the sample nearest `span` away. Only samples from
// `from` to `to` count (those shown); a cursor already at the last of them in that direction
// stays there. −1 when none is shown.
int SampleAlong(const std::vector<double>& times, double from, double to, double time,
                int direction, double span);
// The sample nearest `time` among those from `from` to `to`; −1 when none is shown.
int NearestSample(const std::vector<double>& times, double from, double to, double time);

// The oscilloscope's keys (ScopeKeyAction), each handed on as an action; a double click tells
// which cursor the mouse has just set, so the arrows go on from the one set last either way.
class TScopeKeys : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  void Watch(QWidget* scope);
  TScopeCursor Active() const { return active_; }
  void SetActive(TScopeCursor cursor) { active_ = cursor; }
  // Whether the last double click came with Shift held: the chart's own double-click event
  // carries no key state, so it is read here before the chart hands the click on.
  bool ShiftDoubleClick() const { return shiftDoubleClick_; }

 signals:
  void Pressed(TScopeKey action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TScopeCursor active_ = TScopeCursor::kNone;
  bool shiftDoubleClick_ = false;
};
