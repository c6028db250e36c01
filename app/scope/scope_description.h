// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

// What the oscilloscope shows, as plain values: the trace's extent, channel 2's and the
// measuring cross.
struct TScopeSummary {
  std::string experiment;                  // the experiment's title, UTF-8
  bool hasTrace = false;                   // false until an experiment is chosen
  double period = 0;                       // ms
  double low = 0, high = 0, mean = 0;      // V
  std::string current;                     // channel 2's name ("i", "i1", "i2"); empty when off
  double currentLow = 0, currentHigh = 0;  // A
  bool cross = false;
  double crossTime = 0, crossVoltage = 0;  // ms, V
};

// The oscilloscope in words for a screen reader, in French, numbers as the instruments write
// them with `decimalSeparator`.
QString ScopeDescription(const TScopeSummary& scope, const std::string& decimalSeparator);
