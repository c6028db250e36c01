// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class TScopeView;

// One channel's measures over the whole periods shown, written out with their units; "—" where
// a value has no meaning (a flat trace, a channel that is off).
struct TChannelMeasures {
  QString name;  // "u"; "i", "i1" or "i2" as the screen names the current
  QString mean = QStringLiteral("—"), rms = QStringLiteral("—"), min = QStringLiteral("—"),
          max = QStringLiteral("—"), peakToPeak = QStringLiteral("—");
};

// What the "Mesures" window shows: each channel's record, the chopper's levels, period and duty
// cycle (channel 1's only), and the two cursors with their differences.
struct TMeasuresText {
  TChannelMeasures voltage{QStringLiteral("u")};
  TChannelMeasures current{QStringLiteral("i")};  // its values "—" while channel 2 is off
  QString top, base, period, frequency, dutyCycle;
  // The duty cycle's caption: which level alpha counts the time at.
  QString dutyCycleCaption = QStringLiteral("α");
  QString cursorA, cursorB, deltaT, deltaU, inverseDeltaT;
  QString deltaI = QStringLiteral("—");  // between the cursors, under deltaU
};

// Every measure that has a caption, in the order the printed page lists them.
enum class TMeasure {
  kMean,
  kRms,
  kMin,
  kMax,
  kPeakToPeak,
  kTop,
  kBase,
  kPeriod,
  kFrequency,
  kCursorA,
  kCursorB,
  kDeltaT,
  kDeltaU,
  kDeltaI,  // the current's difference between the cursors
  kInverseDeltaT,
};

// The one caption of `measure`, for the window's rows and their screen-reader names and the
// printed page alike. The channel measures are named after `channel` ("u" is channel 1:
// "Moyenne ⟨u⟩", "Minimum"; a current: "Moyenne ⟨i⟩", "Minimum de i", "Ondulation Δi (crête à
// crête)"); ΔI after the current.
QString MeasureCaption(TMeasure measure, const QString& channel = QStringLiteral("u"));

// The measures as the printed page lists them: channel 1's, its levels, period, frequency and
// duty cycle; channel 2's while it is on; then the cursors and their differences (ΔI under ΔU
// while channel 2 is on).
QList<QPair<QString, QString>> MeasuresRows(const TMeasuresText& m, bool currentOn);

// What the oscilloscope of `scope` shows, measured: both channels over the whole periods shown,
// and the cursors with their differences.
TMeasuresText MeasureScope(const TScopeView& scope);
