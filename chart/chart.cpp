// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart.h"

TChart::TChart(QWidget* parent) : TCustomChart(parent) {
  EndConstruction();
}
