// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

// The numeric side of axis labels: steps, counts, label values, minor tick positions and label
// texts. Pure functions on numbers, so the drawing code only places what these decide.

// The next "nice" step after x: 1, 2, 5, 10, 20, 50 ... in every decade. Non-finite steps stay
// as they are.
double NextNiceStep(double x);

// How many labels fit along `pixelLength` when the largest label takes `largest` pixels and
// labels are kept apart by `separationPercent` of it.
int MaxLabelCount(int pixelLength, int largest, int separationPercent);

// The smallest nice step, from `increment` (or 1, or 1e-12) upward, that gives at most
// maxLabels labels over `span`. A non-finite span has no sensible step: 1e-12 is returned and
// the label walk then draws nothing.
double ChooseLabelStep(double span, double increment, int separationPercent, int maxLabels);

// The values the label walk visits, from the top of the range down, before any pixel filter.
// Empty when the step would give 10000 labels or more, or when anything is not finite.
std::vector<double> LabelValues(double rangeMin, double rangeMax, double step,
                                bool roundFirstLabel);

// Minor tick candidates between and beyond the label positions `labels` (in drawing order),
// `count` per interval, kept strictly between pixelStart and pixelEnd.
std::vector<int> MinorTickPositions(const std::vector<int>& labels, int count, int pixelStart,
                                    int pixelEnd);

// `value` written as "#,##0.###": grouped thousands, at most three decimals (halves to even), no
// trailing zeros, no sign on a label of zeros; the same whatever the C library's locale.
QString FormatAxisValue(double value, const QString& decimalSeparator,
                        const QString& thousandSeparator);
