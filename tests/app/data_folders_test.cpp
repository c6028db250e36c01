// Pictures and pages found whatever folder the program starts from.
#include <QCoreApplication>
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

TEST(DataFolders, TheFirstPlaceThatHoldsTheFolderWins) {
  QTemporaryDir first, second, third;
  QDir(second.path()).mkdir("image");
  QDir(third.path()).mkdir("image");
  QDir(first.path()).mkdir("aide");
  const QStringList bases = {first.path(), second.path(), third.path()};
  const TDataFolder images = FindDataFolder("image", bases);
  EXPECT_EQ(images.base, second.path());
  EXPECT_EQ(images.tried, (QStringList{QDir::toNativeSeparators(first.path()),
                                       QDir::toNativeSeparators(second.path())}));
  EXPECT_EQ(FindDataFolder("aide", bases).base, first.path());
  // A file of that name is not the folder.
  QFile file(QDir(first.path()).filePath("schemas"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const TDataFolder none = FindDataFolder("schemas", bases);
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
