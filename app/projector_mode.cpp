// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projector_mode.h"

#include <QFont>
#include <QFontInfo>
#include <QSettings>
#include <QVariant>
#include <QWidget>
#include <cmath>

#include "app/oscilloscope_settings.h"

namespace {

// The box a widget had before projector mode, kept on the widget itself.
const char* const kDesktopGeometry = "desktopGeometry";

const QString kProjectorKey = QStringLiteral("affichage/contraste_eleve");

}  // namespace

void SetProjectorText(QWidget* widget, bool on, const QMargins& grow) {
  const QVariant desktop = widget->property(kDesktopGeometry);
  if (desktop.isValid()) widget->setGeometry(desktop.toRect());
  widget->setFont(QFont());  // an empty font: the widget inherits again
  if (!on) return;
  QFont font = widget->font();
  font.setPixelSize(
      static_cast<int>(std::ceil(QFontInfo(font).pixelSize() * oscilloscope::kProjectorTextScale)));
  widget->setFont(font);
  if (!grow.isNull()) {
    if (!desktop.isValid()) widget->setProperty(kDesktopGeometry, widget->geometry());
    widget->setGeometry(widget->geometry().marginsAdded(grow));
  }
}

void SetProjectorText(QWidget* widget, bool on) {
  SetProjectorText(widget, on, QMargins());
}

TProjectorMode::TProjectorMode(QObject* parent) : QObject(parent) {}

bool TProjectorMode::Saved() {
  return QSettings().value(kProjectorKey, false).toBool();
}

void TProjectorMode::Set(bool on) {
  QSettings().setValue(kProjectorKey, on);
  if (on == on_) return;
  on_ = on;
  emit Changed(on);
}
