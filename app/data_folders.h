// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the program's data folders ("image", "aide") are. The working directory comes first, as
// it always has; a program started from another folder, or installed, finds them beside its
// executable or in the folder the package installs them in.
struct TDataFolder {
  QString base;       // the folder that holds it; empty when none does
  QStringList tried;  // every place looked in, in order
  bool Found() const { return !base.isEmpty(); }
};

// The places to look in, in order and without repeats: the working directory, the program's
// folder, the data folder of an installation laid out around the program
// (<prefix>/lib/simhacheur → <prefix>/share/simhacheur), and the package's /usr/share/simhacheur.
QStringList DataFolderBases(const QString& workingDirectory, const QString& programDirectory);

// The first of `bases` that holds a folder called `name` with at least one file matching
// `filePattern` ("*.jpg"): the project's own image/ holds only the SVG sources, and started from
// the project's root the program must look further.
TDataFolder FindDataFolder(const QString& name, const QString& filePattern,
                           const QStringList& bases);

// The one message said when folders are found nowhere, naming them and the places tried.
QString MissingFoldersMessage(const QStringList& names, const QStringList& tried);
