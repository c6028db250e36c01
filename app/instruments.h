// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <array>
#include <string>

#include "sim/bench_ports.h"

class QLineEdit;

// The four instruments under the oscilloscope. The bench writes its readings here (through the
// number module, with the desktop's decimal mark) and the control panels their states
// ("inactif"); the instruments keep what they show, so that a saved or printed page takes the
// bench's values and never reads a widget back.
class TInstruments final : public TBenchOutput {
 public:
  // The voltmeter, tachometer and ammeters n°1 and n°2, in the bench's order; any may be
  // absent (the lab tools' tests have none).
  explicit TInstruments(std::array<QLineEdit*, 4> boxes = {});

  void ShowReading(TInstrument instrument, const std::string& text) override;
  void Show(TInstrument instrument, const QString& text);
  QString Text(TInstrument instrument) const { return texts_[instrument]; }

  // Each instrument's name with its reading and unit, in the screen's order (voltmeter,
  // ammeter n°1, tachometer, ammeter n°2); a state such as "inactif" has no unit.
  QList<QPair<QString, QString>> Readings() const;

  // The instruments' names, as screen readers and printed pages say them.
  static QString Name(TInstrument instrument);

 private:
  std::array<QLineEdit*, 4> boxes_;
  std::array<QString, 4> texts_;
};
