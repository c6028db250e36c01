// SPDX-License-Identifier: GPL-3.0-or-later
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include "platform/canvas.h"
#include "platform/raster_surface.h"

namespace {

constexpr TColor kSystemFlag = 0x80000000u;

QColor FromPlain(TColor plain) {
  return QColor::fromRgb(raster::ToPixel(plain));
}

// Button face, shadow and highlight follow the desktop's palette; without an application
// (tests, tools) the classic grey bevel colours stand in.
QColor SystemColor(TColor color) {
  struct Entry {
    TColor color;
    QPalette::ColorRole role;
    TColor fallback;
  };
  static constexpr Entry kEntries[] = {
      {clBtnFace, QPalette::Button, 0xF0F0F0},
      {clBtnShadow, QPalette::Dark, 0xA0A0A0},
      {clBtnHighlight, QPalette::Light, 0xFFFFFF},
  };
  for (const Entry& e : kEntries) {
    if (e.color != color) continue;
    if (HasGuiApplication()) return QGuiApplication::palette().color(QPalette::Active, e.role);
    return FromPlain(e.fallback);
  }
  return Qt::black;  // a system colour this program does not use
}

}  // namespace

bool HasGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QColor ToQColor(TColor color) {
  if (color == clDefault || color == clNone) return Qt::black;
  if (color & kSystemFlag) return SystemColor(color);
  return FromPlain(color);
}

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<TColor>(rgb.red()) | (static_cast<TColor>(rgb.green()) << 8) |
         (static_cast<TColor>(rgb.blue()) << 16);
}

TColor ResolveColor(TColor color) {
  if ((color & 0xFF000000u) == 0) return color;  // already plain: the common case, no lookup
  return FromQColor(ToQColor(color));
}
