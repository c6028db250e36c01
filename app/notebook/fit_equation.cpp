// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/fit_equation.h"

#include <QStringList>
#include <cmath>

#include "sim/number_text.h"

namespace {

constexpr QChar kMinus = u'\u2212';
const QString kNbsp = QStringLiteral("\u00A0");

// `value` with `decimals` decimals, halves away from zero, trailing zeros dropped, a decimal
// comma and the real minus. A negative count keeps six decimals: a slope of a thousand or more
// reads as it always has ("12345,678").
QString FrenchDecimal(double value, int decimals) {
  QString text = QString::fromStdString(
      FixedText(value, decimals < 0 ? 6 : decimals, ",", kFixedTrimZeros | kFixedHalvesAway));
  text.replace(u'-', kMinus);
  return text;
}

// Four significant digits, never an exponent: a slope reads "312,5" or "0,003125".
QString SignificantText(double value) {
  if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
  return FrenchDecimal(value, SignificantDecimals(value, 4));
}

}  // namespace

QString FitEquationText(const std::optional<TLineFit>& fit, const QString& xSymbol,
                        const QString& ySymbol, int interceptDecimals) {
  if (!fit) {
    return QStringLiteral(
        "Ajustement impossible\u00A0: il faut au moins deux valeurs différentes en abscisse.");
  }
  const QString slope = SignificantText(fit->slope);
  const QString intercept = FrenchDecimal(std::abs(fit->intercept), interceptDecimals);
  QString text = ySymbol + kNbsp + u'=' + kNbsp;
  const bool hasSlope = slope != QStringLiteral("0");
  const bool hasIntercept = intercept != QStringLiteral("0");
  if (hasSlope) text += slope + u'\u00B7' + xSymbol;
  if (hasIntercept) {
    const bool negative = fit->intercept < 0;
    if (hasSlope)
      text += kNbsp + (negative ? kMinus : u'+') + kNbsp;
    else if (negative)
      text += kMinus;
    text += intercept;
  }
  if (!hasSlope && !hasIntercept) text += u'0';
  // Through two points a line always passes: R² would say 1 whatever they are.
  if (fit->points < 3) return text;
  // R² keeps its three decimals: "1,000" says the fit is that good, not that it is exact.
  const QString r2 =
      QString::fromStdString(FixedText(fit->r2, 3, ",", kFixedHalvesAway | kFixedSignBelowZero));
  return text + QStringLiteral("\u202F; R²\u00A0=\u00A0") + r2;
}

QString MixWarningText(const TRowsMix& mix) {
  if (!mix.Any()) return {};
  QStringList mixed;
  if (mix.Experiments()) mixed << QStringLiteral("des expériences différentes");
  if (mix.ChopperTypes()) mixed << QStringLiteral("des types de hacheur différents");
  // Last, so that what follows about the wiring reads next to it.
  if (mix.Wirings()) mixed << QStringLiteral("des branchements différents");
  QString text = QStringLiteral("Attention\u00A0: ces relevés mélangent ") + mixed.front();
  for (qsizetype i = 1; i < mixed.size(); ++i)
    text += (i + 1 < mixed.size() ? QStringLiteral(", ") : QStringLiteral(" et ")) + mixed[i];
  if (mix.NotConnected()) {
    text += QStringLiteral(
        "\u202F; la vitesse des relevés «\u202Fmoteur non branché\u202F» est forcée à 0");
  }
  return text + u'.';
}
