// SPDX-License-Identifier: GPL-3.0-or-later
// Where save dialogs open: a folder the user can write, never the program's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <ostream>

#include "app/save_folder.h"

namespace {

class SaveFolderTest : public testing::Test {
 protected:
  SaveFolderTest() {
    for (const char* name : {"dernier", "Documents", "maison", "programme", "lecture"})
      QDir(root.path()).mkdir(QString::fromLatin1(name));
    QFile(Path("fichier")).open(QIODevice::WriteOnly);
    QFile::setPermissions(Path("lecture"), QFile::ReadOwner | QFile::ExeOwner);
  }
  ~SaveFolderTest() override {
    QFile::setPermissions(Path("lecture"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  QString Path(const char* name) const { return QDir(root.path()).filePath(QLatin1String(name)); }
  // Permissions do not stop the superuser: there a read-only folder is a writable one.
  bool ReadOnlyHolds() const { return !QFileInfo(Path("lecture")).isWritable(); }

  QTemporaryDir root;
};

TEST_F(SaveFolderTest, LastFolderThenDocumentsThenHome) {
  const struct {
    const char* last;
    const char* documents;
    const char* expected;
    bool needsReadOnly;
  } rows[] = {
      {"dernier", "Documents", "dernier", false},
      {"", "Documents", "Documents", false},
      {"disparu", "Documents", "Documents", false},    // removed since
      {"fichier", "Documents", "Documents", false},    // a file now stands there
      {"programme", "Documents", "Documents", false},  // the program's own folder
      {"maison", "Documents", "maison", false},        // home may be the working directory
      {"dernier", "disparu", "dernier", false},
      {"disparu", "disparu", "maison", false},
      {"", "", "maison", false},
      {"lecture", "Documents", "Documents", true},
      {"lecture", "lecture", "maison", true},
  };
  for (const auto& r : rows) {
    if (r.needsReadOnly && !ReadOnlyHolds()) continue;
    TSaveFolderPlaces places;
    places.last = *r.last ? Path(r.last) : QString();
    places.documents = *r.documents ? Path(r.documents) : QString();
    places.home = Path("maison");
    places.avoided = {Path("programme"), Path("maison")};
    EXPECT_EQ(ChooseSaveFolder(places), Path(r.expected)) << r.last << " / " << r.documents;
  }
}

TEST_F(SaveFolderTest, AvoidedFolderIsRecognisedUnderAnotherSpelling) {
  TSaveFolderPlaces places;
  places.last = Path("programme") + QStringLiteral("/../programme/");
  places.documents = Path("Documents");
  places.home = Path("maison");
  places.avoided = {Path("programme")};
  EXPECT_EQ(ChooseSaveFolder(places), Path("Documents"));
}

}  // namespace
