// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QObject>

class QWidget;

// Projector mode on a widget's text: the font it inherits, half as large again when `on`, its
// box grown by `grow` to hold it; off, the inherited font and the box of before, as if never
// touched.
void SetProjectorText(QWidget* widget, bool on, const QMargins& grow);
void SetProjectorText(QWidget* widget, bool on);

// Projector mode ("Contraste élevé"): one switch that remembers the user's choice for the next
// run and tells whoever draws differently in it. The window owns it; each part that reacts
// connects to Changed instead of being called one by one.
class TProjectorMode : public QObject {
  Q_OBJECT

 public:
  explicit TProjectorMode(QObject* parent = nullptr);

  // Whether projector mode was on when the program last ran.
  static bool Saved();

  bool On() const { return on_; }
  // Remembered for the next run; Changed follows only a real change.
  void Set(bool on);

 signals:
  void Changed(bool on);

 private:
  bool on_ = false;
};
