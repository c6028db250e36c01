// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A speed typed in a speed box: a percentage from 0 to 100 in steps of 0,5, with a comma or a
// point, an optional "%" after it. Accepted, it is the bar position (twice the percentage);
// refused, the reason in French.
struct TSetPoint {
  int position = -1;  // 0 .. 200 when accepted
  QString refusal;
  bool Accepted() const { return position >= 0; }
};

TSetPoint ParseSetPoint(const QString& text);
