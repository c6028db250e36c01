// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/bench_settings.h"

#include "sim/bench.h"

namespace {

QString Percent(int percent) {
  return QString::number(percent) + QStringLiteral("\u00A0%");
}

}  // namespace

QList<QPair<QString, QString>> BenchSettings(const TBench& bench) {
  namespace names = panel_names;
  QList<QPair<QString, QString>> settings;
  const TBenchDescription d = bench.Description();
  const std::pair<const char*, const TPanelChoice*> choices[] = {
      {names::kWiring, &d.wiring},
      {names::kChopper, &d.chopperType},
      {names::kDrivingMachine, &d.drivingMachine},
      {names::kDirection, &d.direction}};
  for (const auto& [name, choice] : choices) {
    if (!choice->shown) continue;
    settings.append({QString::fromUtf8(name), choice->caption.empty()
                                                  ? QStringLiteral("non choisi")
                                                  : QString::fromStdString(choice->caption)});
  }
  // No set-point shows before an experiment is chosen. In four quadrants only the driving
  // machine's bar moves; the other stays at 0.
  if (d.drivingMachine.shown) {
    const TDrivingMachine machine = bench.DrivingMachine();
    const int percent = bench.SpeedPercent();
    settings.append({QString::fromUtf8(names::kSpeedMachine1),
                     Percent(machine == TDrivingMachine::kMachine1 ? percent : 0)});
    settings.append({QString::fromUtf8(names::kSpeedMachine2),
                     Percent(machine == TDrivingMachine::kMachine2 ? percent : 0)});
  } else if (d.wiring.shown) {
    settings.append({QString::fromUtf8(names::kSpeed), Percent(bench.SpeedPercent())});
  }
  return settings;
}
