// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// A confirmation box: title "Confirmation", a question mark, the question, and the buttons
// "OK" (the default) and "Annuler" (also Escape and the box's close box). True for "OK".
// Tests replace the box with their own answer.
bool AskConfirmation(const QString& question);

using TConfirmationHandler = std::function<bool(const QString& question)>;
TConfirmationHandler SetConfirmationHandler(TConfirmationHandler handler);
