// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Where a save dialog opens: the folder last used if it still exists and can be written, else
// the user's Documents folder if it exists and can be written, else the home folder. A folder
// in `avoided` (the program's own folder, the working directory) is not proposed as the last
// folder, unless it is the Documents or home folder: a dialog that once opened there by default
// must not keep sending the user back.
struct TSaveFolderPlaces {
  QString last;
  QString documents;
  QString home;
  QStringList avoided;
};
QString ChooseSaveFolder(const TSaveFolderPlaces& places);

// ChooseSaveFolder with the folder remembered under `settingsKey` and this desktop's places.
QString ProposedSaveFolder(const QString& settingsKey);

// The desktop's save dialog, which asks before replacing a file: the path chosen, "" when the
// user cancels. Tests replace the dialog with their own answer.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                        const QString& filter);

using TSaveFileDialog = std::function<QString(const QString& title, const QString& proposedPath,
                                              const QString& filter)>;
// Installs `dialog` in place of the desktop's and returns the one it replaces; an empty one
// restores the desktop's.
TSaveFileDialog SetSaveFileDialog(TSaveFileDialog dialog);
