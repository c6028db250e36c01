// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/save_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace {

TSaveFileDialog& Replacement() {
  static TSaveFileDialog dialog;
  return dialog;
}

QString Canonical(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

bool Usable(const QString& folder) {
  if (folder.isEmpty()) return false;
  const QFileInfo info(folder);
  return info.isDir() && info.isWritable();
}

}  // namespace

QString ChooseSaveFolder(const TSaveFolderPlaces& places) {
  if (Usable(places.last)) {
    const QString last = Canonical(places.last);
    const auto same = [&last](const QString& folder) {
      return !folder.isEmpty() && Canonical(folder) == last;
    };
    const bool own = same(places.documents) || same(places.home);
    if (own || std::none_of(places.avoided.begin(), places.avoided.end(), same)) return places.last;
  }
  if (Usable(places.documents)) return places.documents;
  return places.home;
}

QString ProposedSaveFolder(const QString& settingsKey) {
  TSaveFolderPlaces places;
  places.last = QSettings().value(settingsKey).toString();
  places.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  places.home = QDir::homePath();
  // Installed, the program starts in its data folder, which the user cannot write.
  places.avoided = {QCoreApplication::applicationDirPath(), QDir::currentPath()};
  return ChooseSaveFolder(places);
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                        const QString& filter) {
  if (Replacement()) return Replacement()(title, proposedPath, filter);
  return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

TSaveFileDialog SetSaveFileDialog(TSaveFileDialog dialog) {
  return std::exchange(Replacement(), std::move(dialog));
}
