// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>
#include <string>

// Events reach the chart from the window system's event loop, which cannot carry an exception:
// one that got out would end the program. Each entry point runs its work through Shielded,
// which stops any exception there and hands its message to the fault handler.
using TChartFaultHandler = std::function<void(const std::string& where, const std::string& what)>;

// Installs `handler` and returns the one it replaces; an empty handler restores the default,
// which writes the message to the program's warning log.
TChartFaultHandler SetChartFaultHandler(TChartFaultHandler handler);
void ReportChartFault(const char* where, const char* what);

template <class F>
void Shielded(const char* where, F&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    ReportChartFault(where, e.what());
  } catch (...) {
    ReportChartFault(where, "exception inconnue");
  }
}
