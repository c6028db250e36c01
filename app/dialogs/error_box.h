// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// The application's error box. Every error a handler raises ends up here; tests replace the box
// to capture the messages instead of showing them.
void ShowErrorBox(const QString& message);

using TErrorBoxHandler = std::function<void(const QString& message)>;
// Installs `handler` in place of the message box and returns the one it replaces; an empty
// handler restores the message box.
TErrorBoxHandler SetErrorBoxHandler(TErrorBoxHandler handler);
