// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keyboard_access.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyleOptionMenuItem>
#include <QTextEdit>
#include <algorithm>
#include <vector>

#include "app/guarded.h"

QAbstractSlider::SliderAction SpeedBarAction(int key) {
  switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Left:
    case Qt::Key_Up:
      return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_PageDown:
      return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_PageUp:
      return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_Home:
      return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
      return QAbstractSlider::SliderToMaximum;
    default:
      return QAbstractSlider::SliderNoAction;
  }
}

void TSpeedBarKeys::Watch(QAbstractSlider* bar) {
  bar->setFocusPolicy(Qt::StrongFocus);
  bar->installEventFilter(this);
}

bool TSpeedBarKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  const QAbstractSlider::SliderAction action = SpeedBarAction(key->key());
  if (action == QAbstractSlider::SliderNoAction) return false;
  static_cast<QAbstractSlider*>(watched)->triggerAction(action);
  return true;
}

// As on the desktop, a group is one stop in the Tab chain: its selected button.
void TRadioGroupKeys::Watch(QRadioButton* button) {
  button->installEventFilter(this);
  ConnectGuarded(button, &QRadioButton::toggled, this, [button](bool selected) {
    if (!selected) return;
    for (QRadioButton* other :
         button->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
      if (other->autoExclusive())
        other->setFocusPolicy(other == button ? Qt::StrongFocus : Qt::ClickFocus);
    }
  });
}

QRadioButton* NeighbourInGroup(QRadioButton* from, int step) {
  std::vector<QRadioButton*> group;
  for (QObject* child : from->parentWidget()->children()) {
    auto* button = qobject_cast<QRadioButton*>(child);
    if (button != nullptr && button->autoExclusive() &&
        (button == from || (button->isEnabled() && button->isVisibleTo(from->parentWidget()))))
      group.push_back(button);
  }
  std::sort(group.begin(), group.end(), [](const QRadioButton* a, const QRadioButton* b) {
    return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
  });
  const auto at = std::find(group.begin(), group.end(), from) - group.begin();
  const auto size = static_cast<std::ptrdiff_t>(group.size());
  return group[static_cast<std::size_t>(((at + step) % size + size) % size)];
}

bool TRadioGroupKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  int step = 0;
  if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Right) step = 1;
  if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Left) step = -1;
  if (step == 0) return false;
  QRadioButton* next = NeighbourInGroup(static_cast<QRadioButton*>(watched), step);
  next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  if (!next->isChecked()) next->click();
  return true;
}

TWindowShortcutKeys::TWindowShortcutKeys(QWidget* window) : QObject(window), window_(window) {}

void TWindowShortcutKeys::Watch(QWidget* box) {
  box->installEventFilter(this);
}

namespace {

bool HasSelection(const QWidget* box) {
  if (const auto* line = qobject_cast<const QLineEdit*>(box)) return line->hasSelectedText();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(box))
    return plain->textCursor().hasSelection();
  if (const auto* rich = qobject_cast<const QTextEdit*>(box))
    return rich->textCursor().hasSelection();
  return false;
}

}  // namespace

bool TWindowShortcutKeys::ShortcutWins(const QWidget* box, const QKeyEvent& key) const {
  if (key.matches(QKeySequence::Copy) && HasSelection(box)) return false;
  const QKeySequence pressed(key.keyCombination());
  // Only the window's own actions: another window's shortcut would not run from here, and the
  // key would be lost to the box.
  for (const QAction* action : window_->findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
    if (action->isEnabled() && action->isVisible() && action->shortcuts().contains(pressed))
      return true;
  }
  return false;
}

// A text box takes a key from the shortcuts by accepting its ShortcutOverride; kept from the
// box, the override stays unaccepted and the shortcut runs.
bool TWindowShortcutKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  auto* box = static_cast<QWidget*>(watched);
  if (!ShortcutWins(box, *static_cast<QKeyEvent*>(event))) return false;
  event->ignore();
  emit ShortcutTaken(box);
  return true;
}

void TMenuBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (element == CE_MenuBarItem && item != nullptr && widget != nullptr && widget->hasFocus() &&
      (item->state & State_Selected)) {
    QStyleOptionMenuItem current(*item);
    current.state |= State_Sunken;
    QProxyStyle::drawControl(element, &current, painter, widget);
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}
