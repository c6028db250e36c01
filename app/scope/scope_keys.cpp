// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scope/scope_keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

TScopeKey ScopeKeyAction(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
  // + and − come with Shift on many layouts, and from the keypad.
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return (held & ~Qt::ShiftModifier) ? TScopeKey::kNone : TScopeKey::kZoomIn;
    case Qt::Key_Minus:
      return (held & ~Qt::ShiftModifier) ? TScopeKey::kNone : TScopeKey::kZoomOut;
    default:
      break;
  }
  if (held == Qt::ControlModifier) {
    if (key == Qt::Key_Left) return TScopeKey::kDivisionBack;
    if (key == Qt::Key_Right) return TScopeKey::kDivisionForward;
    return TScopeKey::kNone;
  }
  if (held != Qt::NoModifier) return TScopeKey::kNone;
  switch (key) {
    case Qt::Key_A:
      return TScopeKey::kCursorA;
    case Qt::Key_B:
      return TScopeKey::kCursorB;
    case Qt::Key_Left:
      return TScopeKey::kSampleBack;
    case Qt::Key_Right:
      return TScopeKey::kSampleForward;
    case Qt::Key_Backspace:
      return TScopeKey::kDezoom;
    case Qt::Key_Escape:
      return TScopeKey::kClearCursors;
    default:
      return TScopeKey::kNone;
  }
}

namespace {

// The samples shown: [first, last), by their times.
std::pair<std::ptrdiff_t, std::ptrdiff_t> Shown(const std::vector<double>& times, double from,
                                                double to) {
  const auto first = std::lower_bound(times.begin(), times.end(), from);
  const auto last = std::upper_bound(first, times.end(), to);
  return {first - times.begin(), last - times.begin()};
}

}  // namespace

int NearestSample(const std::vector<double>& times, double from, double to, double time) {
  const auto [first, last] = Shown(times, from, to);
  if (first == last) return -1;
  const auto begin = times.begin();
  auto after = std::lower_bound(begin + first, begin + last, time);
  if (after == begin + last) return static_cast<int>(last - 1);
  if (after != begin + first && time - *(after - 1) <= *after - time) --after;
  return static_cast<int>(after - begin);
}

int SampleAlong(const std::vector<double>& times, double from, double to, double time,
                int direction, double span) {
  if (span > 0) return NearestSample(times, from, to, time + direction * span);
  const auto [first, last] = Shown(times, from, to);
  if (first == last) return -1;
  const auto begin = times.begin();
  if (direction > 0) {
    const auto next = std::upper_bound(begin + first, begin + last, time);
    return static_cast<int>(next == begin + last ? last - 1 : next - begin);
  }
  const auto at = std::lower_bound(begin + first, begin + last, time);
  return static_cast<int>(at == begin + first ? first : at - begin - 1);
}

void TScopeKeys::Watch(QWidget* scope) {
  scope->installEventFilter(this);
}

bool TScopeKeys::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    shiftDoubleClick_ = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
    active_ = shiftDoubleClick_ ? TScopeCursor::kB : TScopeCursor::kA;
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const TScopeKey action = ScopeKeyAction(key->key(), key->modifiers());
  if (action == TScopeKey::kNone) return false;
  emit Pressed(action);
  return true;
}
