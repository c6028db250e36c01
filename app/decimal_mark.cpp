// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/decimal_mark.h"

#include <QLocale>

const std::string& DecimalMark() {
  static const std::string mark = QLocale::system().decimalPoint().toStdString();
  return mark;
}
