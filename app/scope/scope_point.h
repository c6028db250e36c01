// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A point of the oscilloscope's screen in its units: time across (ms), voltage up (V). Named
// fields, so a cursor's time and voltage never swap places on the way.
struct TScopePoint {
  double ms = 0;
  double volts = 0;
  friend bool operator==(const TScopePoint&, const TScopePoint&) = default;
};
