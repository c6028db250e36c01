// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instruments.h"

#include <QLineEdit>
#include <algorithm>

TInstruments::TInstruments(std::array<QLineEdit*, 4> boxes) : boxes_(boxes) {}

void TInstruments::ShowReading(TInstrument instrument, const std::string& text) {
  Show(instrument, QString::fromStdString(text));
}

void TInstruments::Show(TInstrument instrument, const QString& text) {
  texts_[instrument] = text;
  if (boxes_[instrument] != nullptr) boxes_[instrument]->setText(text);
}

QString TInstruments::Name(TInstrument instrument) {
  switch (instrument) {
    case inVoltmeter:
      return QStringLiteral("Voltmètre");
    case inTachometer:
      return QStringLiteral("Compte-tours");
    case inAmmeter1:
      return QStringLiteral("Ampère-mètre n°1");
    case inAmmeter2:
      return QStringLiteral("Ampère-mètre n°2");
  }
  return {};
}

QList<QPair<QString, QString>> TInstruments::Readings() const {
  const std::pair<TInstrument, const char*> meters[] = {
      {inVoltmeter, "V"}, {inAmmeter1, "A"}, {inTachometer, "tr/mn"}, {inAmmeter2, "A"}};
  QList<QPair<QString, QString>> readings;
  for (const auto& [instrument, unit] : meters) {
    const QString& text = texts_[instrument];
    // "inactif" is a state, not a reading: no unit after it.
    const bool number = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    readings.append({Name(instrument),
                     number ? text + QStringLiteral("\u00A0") + QString::fromUtf8(unit) : text});
  }
  return readings;
}
