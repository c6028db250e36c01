// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and pages found whatever folder the program starts from.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "app/data_folders.h"
#include "form_fixture.h"

namespace {

TEST(DataFolders, WorkingDirectoryThenBesideTheProgramThenTheInstalledData) {
  EXPECT_EQ(DataFolderBases("/home/eleve", "/usr/lib/simhacheur"),
            (QStringList{"/home/eleve", "/usr/lib/simhacheur", "/usr/share/simhacheur"}));
  EXPECT_EQ(
      DataFolderBases("/opt/sh/lib/simhacheur", "/opt/sh/lib/simhacheur/"),
      (QStringList{"/opt/sh/lib/simhacheur", "/opt/sh/share/simhacheur", "/usr/share/simhacheur"}));
  QTemporaryDir first, second, third;
  const auto put = [](const QTemporaryDir& base, const char* file) {
    QDir(base.path()).mkpath(QFileInfo(file).path());
    QFile(QDir(base.path()).filePath(file)).open(QIODevice::WriteOnly);
  };
  put(first, "image/vide0.svg");  // the project's sources: no picture the program reads
  put(second, "image/vide0.jpg");
  put(third, "image/vide0.jpg");
  const TDataFolder images =
      FindDataFolder("image", "*.jpg", {first.path(), second.path(), third.path()});
  EXPECT_EQ(images.base, second.path());
  EXPECT_EQ(images.tried.size(), 2);
  EXPECT_FALSE(FindDataFolder("aide", "*.htm", {first.path(), second.path()}).Found());
}

// Started in an empty folder, with no installed copy to fall back on: said once, naming the
// places tried, and every experiment still shows its panels.
TEST_F(FormTest, WithoutItsFoldersTheProgramSaysSoOnceAndStaysUsable) {
  if (QFileInfo::exists("/usr/share/simhacheur/image"))
    GTEST_SKIP() << "an installed copy would be found";
  form.reset();
  QTemporaryDir empty;
  QDir::setCurrent(empty.path());
  form = std::make_unique<TForm1>();
  ASSERT_EQ(errors.size(), 1u);
  const QString message = QString::fromStdString(errors[0]);
  for (const QString& part :
       {QStringLiteral("«\u202Fimage\u202F»"), QStringLiteral("«\u202Faide\u202F»"),
        QDir::toNativeSeparators(empty.path()),
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath())})
    EXPECT_TRUE(message.contains(part)) << errors[0];
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  EXPECT_FALSE(Hidden("Panel29"));
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton2");
  EXPECT_EQ(Bench().ConnectionMode(), TWiring::kWithInductance);
  EXPECT_EQ(Text("LabeledEdit1"), Reading("0.00"));  // recomputed: the handler went on
  EXPECT_EQ(errors.size(), 1u);                      // nothing more said
}

}  // namespace
