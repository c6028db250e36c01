// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scope/scope_description.h"

#include <string>

#include "sim/reading_format.h"

QString ScopeDescription(const TScopeSummary& scope, const std::string& decimalSeparator) {
  if (!scope.hasTrace) return QStringLiteral("Oscilloscope vide\u00A0: aucun essai choisi.");
  const auto number = [&decimalSeparator](double value, const char* unit) {
    return QString::fromStdString(FormatReading(value, 2, decimalSeparator)) +
           QStringLiteral("\u00A0") + QLatin1String(unit);
  };
  QString text = QString::fromStdString(scope.experiment) +
                 QStringLiteral("\u00A0: période %1\u202F; tension de %2 à %3, moyenne %4\u202F; ")
                     .arg(number(scope.period, "ms"), number(scope.low, "V"),
                          number(scope.high, "V"), number(scope.mean, "V"));
  if (!scope.current.empty()) {
    text += QStringLiteral("voie 2, %1 de %2 à %3\u202F; ")
                .arg(QString::fromStdString(scope.current), number(scope.currentLow, "A"),
                     number(scope.currentHigh, "A"));
  }
  if (scope.cross) {
    text += QStringLiteral("croix de mesure en %1, %2.")
                .arg(number(scope.crossTime, "ms"), number(scope.crossVoltage, "V"));
  } else {
    text += QStringLiteral("pas de croix de mesure.");
  }
  return text;
}
