// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Closing while readings could not be written to the notebook's file: the user chooses to
// export them first, to close anyway or to stay. Tests replace the box and the file dialog with
// their own answers.

enum class TUnsavedRowsAnswer { kExport, kClose, kCancel };

// A warning box titled "Confirmation" with `question` and the buttons "Exporter…" (the
// default), "Fermer sans enregistrer" and "Annuler" (also Escape and the box's close box).
TUnsavedRowsAnswer AskUnsavedRows(const QString& question);
// The desktop's save dialog for the CSV file, which asks before replacing a file: the path
// chosen, "" when the user gives up.
QString AskUnsavedRowsPath(QWidget* parent, const QString& proposedPath);

struct TUnsavedRowsHandlers {
  std::function<TUnsavedRowsAnswer(const QString& question)> ask;
  std::function<QString(const QString& proposedPath)> path;
};
// Installs `handlers` in place of the box and the dialog (each one that is set) and returns
// those it replaces; empty handlers restore the box and the dialog.
TUnsavedRowsHandlers SetUnsavedRowsHandlers(TUnsavedRowsHandlers handlers);
