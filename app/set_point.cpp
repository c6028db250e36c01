// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/set_point.h"

#include <QRegularExpression>

namespace {

constexpr int kMaxPosition = 200;

TSetPoint Refused(const QString& reason) {
  return {-1, reason};
}

}  // namespace

TSetPoint ParseSetPoint(const QString& text) {
  QString typed = text.trimmed();
  if (typed.endsWith(QLatin1Char('%'))) typed = typed.chopped(1).trimmed();
  if (typed.isEmpty()) {
    return Refused(QStringLiteral("Tapez une vitesse de 0 à 100\u00A0% (pas de 0,5)."));
  }
  static const QRegularExpression number(QStringLiteral("^([-+]?)(\\d*)(?:[.,](\\d*))?$"));
  const QRegularExpressionMatch match = number.match(typed);
  if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty())) {
    return Refused(QStringLiteral("«\u202F%1\u202F» n'est pas une vitesse\u00A0: tapez un nombre "
                                  "de 0 à 100, par pas de 0,5 (virgule ou point).")
                       .arg(typed));
  }
  const bool negative = match.captured(1) == QLatin1String("-");
  QString whole = match.captured(2);
  while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
    whole.remove(0, 1);
  QString fraction = match.captured(3);
  while (fraction.endsWith(QLatin1Char('0')))
    fraction.chop(1);
  // More than three digits before the separator is out of range whatever follows, and keeps
  // the sum below from overflowing.
  const int halves =
      whole.size() > 3 ? kMaxPosition + 2 : 2 * whole.toInt() + (fraction.isEmpty() ? 0 : 1);
  if (halves > kMaxPosition || (negative && halves > 0)) {
    return Refused(QStringLiteral("%1\u00A0% est hors de la plage\u00A0: la vitesse va de 0 à "
                                  "100\u00A0%.")
                       .arg(typed));
  }
  if (!fraction.isEmpty() && fraction != QLatin1String("5")) {
    return Refused(QStringLiteral("La vitesse se règle par pas de 0,5\u00A0%\u00A0: %1 n'en est "
                                  "pas un multiple.")
                       .arg(typed));
  }
  return {halves, {}};
}
