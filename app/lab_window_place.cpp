// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab_window_place.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

// ---------------------------------------------------------------------------------------------
// The place, from rectangles alone

namespace {

std::int64_t AreaOf(const QRect& r) {
  return r.isEmpty() ? 0 : std::int64_t{r.width()} * r.height();
}

// The largest rectangles of `area` that meet none of `obstacles`: each obstacle splits every
// free rectangle it meets into the (up to four) strips around it, and a strip inside another
// is dropped.
std::vector<QRect> FreeRectangles(const QRect& area, const QList<QRect>& obstacles) {
  std::vector<QRect> free{area};
  for (const QRect& obstacle : obstacles) {
    const QRect o = obstacle & area;
    if (o.isEmpty()) continue;
    std::vector<QRect> split;
    for (const QRect& f : free) {
      if (!f.intersects(o)) {
        split.push_back(f);
        continue;
      }
      if (o.left() > f.left())
        split.emplace_back(f.left(), f.top(), o.left() - f.left(), f.height());
      if (o.right() < f.right())
        split.emplace_back(o.right() + 1, f.top(), f.right() - o.right(), f.height());
      if (o.top() > f.top()) split.emplace_back(f.left(), f.top(), f.width(), o.top() - f.top());
      if (o.bottom() < f.bottom())
        split.emplace_back(f.left(), o.bottom() + 1, f.width(), f.bottom() - o.bottom());
    }
    free.clear();
    for (std::size_t i = 0; i < split.size(); ++i) {
      bool inside = false;
      for (std::size_t j = 0; j < split.size() && !inside; ++j) {
        // Of two equal rectangles, the first is kept.
        inside = j != i && split[j].contains(split[i]) && (split[i] != split[j] || j < i);
      }
      if (!inside) free.push_back(split[i]);
    }
  }
  return free;
}

// The places along one axis where what a window of `length` covers changes pace: there lies
// the least it can cover.
std::vector<int> Stops(int low, int high, int length, const QList<QRect>& rects, bool horizontal) {
  std::set<int> stops{low, high + 1 - length};
  for (const QRect& r : rects) {
    const int first = horizontal ? r.left() : r.top();
    const int end = (horizontal ? r.right() : r.bottom()) + 1;
    for (int stop : {first - length, first, end - length, end})
      stops.insert(std::clamp(stop, low, std::max(low, high + 1 - length)));
  }
  return {stops.begin(), stops.end()};
}

}  // namespace

QRect PlaceLabWindow(const TLabWindowRequest& request) {
  const QRect& area = request.area;
  const QSize preferred = request.preferred.boundedTo(area.size());
  const QSize minimum = request.minimum.boundedTo(preferred);

  // Room enough: the largest the free rectangles give, the highest then the leftmost.
  QList<QRect> obstacles = request.keepClear;
  obstacles += request.others;
  std::optional<QRect> best;
  for (const QRect& f : FreeRectangles(area, obstacles)) {
    if (f.width() < minimum.width() || f.height() < minimum.height()) continue;
    const QRect candidate(f.topLeft(), preferred.boundedTo(f.size()));
    if (!best || std::make_tuple(-AreaOf(candidate), candidate.top(), candidate.left()) <
                     std::make_tuple(-AreaOf(*best), best->top(), best->left()))
      best = candidate;
  }
  if (best) return *best;

  // No room: the minimum size where it hides the least.
  QList<QRect> all = obstacles;
  const std::vector<int> xs =
      Stops(area.left(), area.right(), minimum.width(), all, /*horizontal=*/true);
  const std::vector<int> ys =
      Stops(area.top(), area.bottom(), minimum.height(), all, /*horizontal=*/false);
  QRect chosen(area.topLeft(), minimum);
  auto chosenCost = std::make_tuple(std::numeric_limits<std::int64_t>::max(), 0.0, 0, 0);
  for (int y : ys) {
    for (int x : xs) {
      const QRect candidate(QPoint(x, y), minimum);
      std::int64_t overOthers = 0;
      for (const QRect& other : request.others)
        overOthers += AreaOf(candidate & other);
      double hidden = 0;
      for (const QRect& r : request.keepClear) {
        if (!r.isEmpty())
          hidden += static_cast<double>(AreaOf(candidate & r)) / static_cast<double>(AreaOf(r));
      }
      const auto cost = std::make_tuple(overOthers, hidden, y, x);
      if (cost < chosenCost) {
        chosenCost = cost;
        chosen = candidate;
      }
    }
  }
  return chosen;
}

// ---------------------------------------------------------------------------------------------
// What the main window shows

namespace {

QRect GlobalRect(const QWidget* widget) {
  return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

}  // namespace

QList<QRect> BenchRectangles(const QWidget* mainWindow) {
  QList<QRect> rects;
  if (!mainWindow->isVisible() || mainWindow->isMinimized()) return rects;
  // The title and the menus, then the read-out and its buttons, the plot, the four
  // instruments and whichever speed settings the experiment shows.
  if (const auto* menus = mainWindow->findChild<const QMenuBar*>()) {
    const QRect frame = mainWindow->frameGeometry();
    const QRect bar = GlobalRect(menus);
    rects.append(QRect(QPoint(frame.left(), frame.top()), QPoint(frame.right(), bar.bottom())));
  }
  for (const char* name : {"ToolBar1", "Chart1", "Panel20", "Panel26", "Panel22", "Panel24",
                           "Panel13", "Panel30", "Panel37"}) {
    const auto* widget = mainWindow->findChild<const QWidget*>(QString::fromLatin1(name));
    if (widget != nullptr && widget->isVisibleTo(mainWindow)) rects.append(GlobalRect(widget));
  }
  return rects;
}

// ---------------------------------------------------------------------------------------------
// The window's side

namespace {

const char* const kLabWindows[] = {"MeasuresWindow", "NotebookWindow"};

QRect AvailableArea(const QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The frame around a window's contents: its own once shown, else the main window's, as the
// window manager frames both alike.
QMargins FrameMargins(const QWidget* window) {
  for (const QWidget* w : {window, window->parentWidget() ? window->parentWidget()->window()
                                                          : static_cast<const QWidget*>(nullptr)}) {
    if (w == nullptr || !w->isVisible()) continue;
    const QRect frame = w->frameGeometry(), inner = w->geometry();
    if (frame != inner)
      return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
              frame.bottom() - inner.bottom()};
  }
  return {};
}

}  // namespace

QString TLabWindowPlacer::Key(const QString& windowName, const QSize& area) {
  return QStringLiteral("fenetres/%1/%2x%3").arg(windowName).arg(area.width()).arg(area.height());
}

void TLabWindowPlacer::Showing() {
  const QRect area = AvailableArea(window_);
  const QRect remembered = QSettings().value(Key(window_->objectName(), area.size())).toRect();
  if (remembered.isValid()) {
    // Where the user left it, kept on the screen.
    QRect frame(remembered.topLeft(), remembered.size().boundedTo(area.size()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    Place(frame);
  } else {
    Place(Planned());
  }
}

QRect TLabWindowPlacer::Planned() const {
  const QMargins margins = FrameMargins(window_);
  const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
  TLabWindowRequest request;
  request.area = AvailableArea(window_);
  if (const QWidget* parent = window_->parentWidget()) {
    const QWidget* main = parent->window();
    request.keepClear = BenchRectangles(main);
    for (const char* name : kLabWindows) {
      const auto* other = main->findChild<const QWidget*>(QString::fromLatin1(name));
      if (other != nullptr && other != window_ && other->isVisible())
        request.others.append(other->frameGeometry());
    }
  }
  const QSize preferred = preferred_.isValid() ? preferred_ : window_->sizeHint();
  request.preferred = preferred.expandedTo(window_->minimumSizeHint()) + extra;
  request.minimum = window_->minimumSizeHint() + extra;
  return PlaceLabWindow(request);
}

void TLabWindowPlacer::Refit(const std::function<void()>& change) {
  // The layouts grow the window as they take the change in: that is not the user's doing.
  placing_ = true;
  change();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  placing_ = false;
  if (window_->isVisible()) Place(Planned());
}

void TLabWindowPlacer::Place(const QRect& frame) {
  const QMargins margins = FrameMargins(window_);
  placing_ = true;
  // The contents' rectangle: window managers place a window being mapped by it.
  asked_ = frame.marginsRemoved(margins);
  window_->setGeometry(asked_);
  placing_ = false;
  placed_ = frame;
}

void TLabWindowPlacer::Changed() {
  if (placing_ || !window_->isVisible()) return;
  const QRect frame = window_->frameGeometry();
  if (frame == placed_) return;
  if (window_->geometry() == asked_) {
    // The window manager's frame, known only now: the same place, the contents fitted to it.
    Place(placed_);
    return;
  }
  placed_ = frame;
  QSettings().setValue(Key(window_->objectName(), AvailableArea(window_).size()), frame);
}

void TLabWindowPlacer::StateChanged() {
  // Minimised while the student was working in it: its own minimise. Minimised along with the
  // main window, it comes back with it.
  if (!window_->isMinimized()) return;
  if (QGuiApplication::focusWindow() != window_->windowHandle() &&
      QApplication::activeWindow() != window_)
    return;
  window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
  window_->hide();
  QWidget* main = window_->parentWidget() != nullptr ? window_->parentWidget()->window() : nullptr;
  if (main == nullptr) return;
  QTimer::singleShot(0, main, [main] {
    if (main->isMinimized()) main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->activateWindow();
  });
}
