// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

// Where a lab window ("Mesures", "Relevés") opens: beside what the student reads on the main
// window, not over it. Every rectangle is a window's frame, in screen coordinates.
struct TLabWindowRequest {
  QRect area;              // the screen's available area
  QList<QRect> keepClear;  // the plot, the four readings, the visible speed bar and its box
  QList<QRect> others;     // the other lab windows open
  QSize preferred;         // the frame's size the window would like
  QSize minimum;           // and the smallest it still works at
};

// Where the screen has room, the window goes where it covers neither `keepClear` nor `others`,
// as large as the room allows up to `preferred`. Where it has not, the window takes its
// minimum size and the place that hides the least: the smallest sum of the fractions of each
// `keepClear` rectangle it covers, never over another lab window if any place avoids them.
// The result always lies inside `area`.
QRect PlaceLabWindow(const TLabWindowRequest& request);

// What a lab window must keep clear of on `mainWindow`, in screen coordinates: the plot, the
// instruments' four panels, and the speed bars' panels that are shown.
QList<QRect> BenchRectangles(const QWidget* mainWindow);

// Places `window` (a lab window parented by the main window) each time it is shown: where the
// user last left it on a screen of this size, else by PlaceLabWindow. The user's moves and
// resizes are remembered per size of the screen's available area.
class TLabWindowPlacer {
 public:
  // `preferred`: the size of the contents it opens at where there is room; none, its layout's.
  explicit TLabWindowPlacer(QWidget* window, QSize preferred = {})
      : window_(window), preferred_(preferred) {}

  // From the window's showEvent, before it appears.
  void Showing();
  // From its moveEvent and resizeEvent: a change the placer did not make is the user's.
  void Changed();
  // Runs `change` (one that changes the contents' size, as projector mode does), then places
  // the window again as if opening, so that a grown window does not spread over the bench.
  void Refit(const std::function<void()>& change);
  // From its changeEvent. Some window managers minimise a window's main window with it: the
  // window minimised by the user is put away instead, and the main window comes back.
  void StateChanged();

  // The settings key of the window's place on a screen of `area`'s size.
  static QString Key(const QString& windowName, const QSize& area);

 private:
  void Place(const QRect& frame);
  QRect Planned() const;

  QWidget* window_;
  QSize preferred_;
  QRect placed_;  // the frame as last placed here
  QRect asked_;   // and the rectangle asked for its contents
  bool placing_ = false;
};
