// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

// Mouse cursors by the numbers the layout stores: 0 is the default arrow, -3 the cross-hair.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crHandPoint = -21;

inline Qt::CursorShape ToQtCursor(TCursor cursor) {
  switch (cursor) {
    case crCross:
      return Qt::CrossCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}
