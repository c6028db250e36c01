// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class TBench;

// The control panels' names, as screen readers say them and as saved screens and printed pages
// name each setting.
namespace panel_names {
inline constexpr const char* kWiring = "Choix du branchement";
inline constexpr const char* kChopper = "Choix du hacheur";
inline constexpr const char* kDirection = "Choix du sens de rotation";
inline constexpr const char* kSpeed = "Réglage vitesse %";
inline constexpr const char* kDrivingMachine = "Choix de la machine motrice";
inline constexpr const char* kSpeedMachine1 = "Réglage vitesse % moteur1";
inline constexpr const char* kSpeedMachine2 = "Réglage vitesse % moteur2";
}  // namespace panel_names

// The bench's choices as its panels show them, named after their panels, in the screen's order
// (wiring, chopper, direction; or machine, direction), then each set-point shown ("50 %"):
// taken from the bench's own values, what every export and page is named and captioned after.
QList<QPair<QString, QString>> BenchSettings(const TBench& bench);
