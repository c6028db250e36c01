#include "chart/chart.h"

TChart::TChart(QWidget* parent) : TCustomChart(parent) {
  EndConstruction();
}
