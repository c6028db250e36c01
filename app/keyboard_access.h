// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSlider>
#include <QObject>
#include <QProxyStyle>

class QKeyEvent;
class QRadioButton;
class QWidget;

// The bar action for a key on a horizontal speed bar, in the desktop's scroll-bar directions:
// Right, Down and Page Down increase, Left, Up and Page Up decrease, Home goes to the minimum and
// End to the maximum. SliderNoAction for any other key.
QAbstractSlider::SliderAction SpeedBarAction(int key);

// Speed bars take the keyboard through the bar actions a click on an arrow or in the track
// triggers, so the scroll handler runs exactly as for the mouse.
class TSpeedBarKeys : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  // Installs on `bar` and lets it take the focus by Tab and by click.
  void Watch(QAbstractSlider* bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// In a group of radio buttons (the auto-exclusive buttons of one panel), the arrow keys move to
// the next or previous button that can take the focus, round the group, and select it with a
// click, so its handler runs as for the mouse; a button already selected runs nothing.
class TRadioGroupKeys : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  void Watch(QRadioButton* button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// In a window's text boxes, the window's own menu shortcuts (Ctrl+S, Ctrl+E, F5…) win over the
// box's use of the same keys (on this desktop Ctrl+E in a box goes to the end of the line), so a
// shortcut does what its menu says wherever the focus is. Ctrl+C stays the box's while text is
// selected in it: it copies that text, as everywhere on the desktop. Every other key (Ctrl+A,
// Ctrl+Z, Ctrl+V, the arrows…) is the box's as before.
class TWindowShortcutKeys : public QObject {
  Q_OBJECT

 public:
  // The shortcuts are those of the actions `window` owns, as they are when the key comes.
  explicit TWindowShortcutKeys(QWidget* window);
  // A line edit, a plain or rich text edit of the window.
  void Watch(QWidget* box);

 signals:
  // `box` gives a key to a shortcut that is about to run.
  void ShortcutTaken(QWidget* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether `key`, pressed in `box`, goes to the window's shortcut rather than to the box.
  bool ShortcutWins(const QWidget* box, const QKeyEvent& key) const;

  QWidget* window_;
};

// The button `step` places after `from` (negative: before) in its panel, in screen order (top
// to bottom, then left to right), among those enabled and shown; `from` itself when alone.
QRadioButton* NeighbourInGroup(QRadioButton* from, int step);

// The menu bar's look, but for the entry the keyboard is on: some styles (Fusion) only
// highlight an entry whose menu is open, which leaves a keyboard user blind after F10 or Alt.
// While the bar holds the focus, its current entry is drawn as if open. The mouse never gives
// the bar the focus, so it sees the bar as before.
class TMenuBarStyle : public QProxyStyle {
  Q_OBJECT

 public:
  using QProxyStyle::QProxyStyle;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};
