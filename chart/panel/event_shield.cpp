// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/panel/event_shield.h"

#include <QtGlobal>
#include <utility>

namespace {

TChartFaultHandler& Handler() {
  static TChartFaultHandler handler;
  return handler;
}

}  // namespace

TChartFaultHandler SetChartFaultHandler(TChartFaultHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ReportChartFault(const char* where, const char* what) {
  try {
    if (Handler()) {
      Handler()(where, what);
    } else {
      qWarning("simhacheur: %s: %s", where, what);
    }
  } catch (...) {
    // A handler that fails itself has nowhere left to report to.
  }
}
