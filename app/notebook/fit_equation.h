// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "sim/notebook.h"

// The fitted line as a French sentence: "n = 312,5·U − 12,3 ; R² = 0,998" (decimal comma, the
// real minus sign, no-break spaces where French typography wants them), or why there is none.
// The slope keeps four significant digits, the intercept `interceptDecimals` decimals (0 to 15:
// what the Y quantity's readings resolve); a term that rounds to zero is left out. R² is given
// from three points on.
QString FitEquationText(const std::optional<TLineFit>& fit, const QString& xSymbol,
                        const QString& ySymbol, int interceptDecimals);

// "Attention : ces relevés mélangent …", naming what the rows mix; empty when they mix nothing.
QString MixWarningText(const TRowsMix& mix);
