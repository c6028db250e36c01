// Pictures and pages found whatever folder the program starts from.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "app/data_folders.h"
#include "form_fixture.h"

namespace {

TEST(DataFolders, WorkingDirectoryFirstThenBesideTheProgramThenTheInstalledData) {
  EXPECT_EQ(DataFolderBases("/home/eleve", "/usr/lib/simhacheur"),
            (QStringList{"/home/eleve", "/usr/lib/simhacheur", "/usr/share/simhacheur"}));
  EXPECT_EQ(
      DataFolderBases("/opt/sh/lib/simhacheur", "/opt/sh/lib/simhacheur/"),
      (QStringList{"/opt/sh/lib/simhacheur", "/opt/sh/share/simhacheur", "/usr/share/simhacheur"}));
}

TEST(DataFolders, TheFirstPlaceWhoseFolderHoldsSuchFilesWins) {
  QTemporaryDir first, second, third;
  const auto put = [](const QTemporaryDir& base, const char* file) {
    QDir(base.path()).mkpath(QFileInfo(file).path());
    QFile(QDir(base.path()).filePath(file)).open(QIODevice::WriteOnly);
  };
  put(first, "image/vide0.svg");  // the project's sources: no picture the program can read
  put(second, "image/vide0.jpg");
  put(third, "image/vide0.jpg");
  put(first, "aide/index.htm");
  const QStringList bases = {first.path(), second.path(), third.path()};
  const TDataFolder images = FindDataFolder("image", "*.jpg", bases);
  EXPECT_EQ(images.base, second.path());
  EXPECT_EQ(images.tried, (QStringList{QDir::toNativeSeparators(first.path()),
                                       QDir::toNativeSeparators(second.path())}));
  EXPECT_EQ(FindDataFolder("aide", "*.htm", bases).base, first.path());
  // A file called like the folder is not the folder.
  put(third, "schemas");
  const TDataFolder none = FindDataFolder("schemas", "*", bases);
  EXPECT_FALSE(none.Found());
  EXPECT_EQ(none.tried.size(), 3);
}

TEST(DataFolders, TheMessageNamesTheFoldersAndThePlacesTried) {
  const QString message =
      MissingFoldersMessage({"image", "aide"}, {"/home/eleve", "/usr/share/simhacheur"});
  EXPECT_TRUE(message.contains(QStringLiteral("«\u202Fimage\u202F»")));
  EXPECT_TRUE(message.contains(QStringLiteral("«\u202Faide\u202F»")));
  EXPECT_TRUE(message.contains("/home/eleve\n/usr/share/simhacheur"));
}

// Started in an empty folder, with no installed copy to fall back on: said once, and every
// experiment still shows its panels.
TEST_F(FormTest, WithoutItsFoldersTheProgramSaysSoOnceAndStaysUsable) {
  if (QFileInfo::exists("/usr/share/simhacheur/image"))
    GTEST_SKIP() << "an installed copy would be found";
  form.reset();
  QTemporaryDir empty;
  QDir::setCurrent(empty.path());
  form = std::make_unique<TForm1>();
  ASSERT_EQ(errors.size(), 1u);
  const QString message = QString::fromStdString(errors[0]);
  EXPECT_TRUE(message.contains("image")) << errors[0];
  EXPECT_TRUE(message.contains("aide")) << errors[0];
  EXPECT_TRUE(message.contains(QDir::toNativeSeparators(empty.path()))) << errors[0];
  EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
  for (const char* experiment : {"Hacheur1quadrant1", "Hacheur2quadrantsvisualisationdestensions1",
                                 "Hacheur4quadrantsvisualisationdesintensits1"}) {
    Menu(experiment);
  }
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton2");
  EXPECT_EQ(Bench().ConnectionMode, 1);
  EXPECT_FALSE(Hidden("Panel9"));
  EXPECT_EQ(errors.size(), 1u);  // nothing more said
  EXPECT_EQ(Shown(), "<none>");
}

}  // namespace
