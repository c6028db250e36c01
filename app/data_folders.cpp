// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/data_folders.h"

#include <QDir>

namespace {

const QString kInstalledData = QStringLiteral("/usr/share/simhacheur");

}  // namespace

QStringList DataFolderBases(const QString& workingDirectory, const QString& programDirectory) {
  QStringList bases;
  const auto add = [&bases](const QString& folder) {
    if (folder.isEmpty()) return;
    const QString clean = QDir::cleanPath(folder);
    if (!bases.contains(clean)) bases.append(clean);
  };
  add(workingDirectory);
  add(programDirectory);
  if (!programDirectory.isEmpty())
    add(programDirectory + QStringLiteral("/../../share/simhacheur"));
  add(kInstalledData);
  return bases;
}

TDataFolder FindDataFolder(const QString& name, const QString& filePattern,
                           const QStringList& bases) {
  TDataFolder folder;
  for (const QString& base : bases) {
    folder.tried.append(QDir::toNativeSeparators(base));
    const QDir candidate(QDir(base).filePath(name));
    if (candidate.exists() && !candidate.entryList({filePattern}, QDir::Files).isEmpty()) {
      folder.base = base;
      break;
    }
  }
  return folder;
}

QString MissingFoldersMessage(const QStringList& names, const QStringList& tried) {
  QString message;
  for (const QString& name : names) {
    const QString what = name == QLatin1String("image")
                             ? QStringLiteral("schémas de branchement")
                             : QStringLiteral("pages de cours et d'aide");
    message += QStringLiteral("Dossier «\u202F%1\u202F» (%2) introuvable.\n").arg(name, what);
  }
  return message + QStringLiteral("Dossiers essayés\u00A0:\n") + tried.join(QLatin1Char('\n')) +
         QStringLiteral(
             "\n\nLe programme continue sans eux\u202F; réinstallez-le ou lancez-le "
             "depuis le dossier qui les contient.");
}
