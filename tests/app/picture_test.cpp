// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures: decoding through libjpeg, refusing bad files, and the picture box's scaling rule.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "jpeg_writer.h"
#include "platform/jpeg_file.h"
#include "platform/picture_box.h"

namespace {

class JpegFileTest : public testing::Test {
 protected:
  QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  QString Written(const char* name, const QImage& picture, JpegKind kind, int scans = 0) {
    QString path = Path(name);
    EXPECT_TRUE(WriteJpeg(path, picture, kind, scans));
    return path;
  }
  static std::string ErrorOf(const QString& path) {
    try {
      ReadJpegFile(path);
    } catch (const EPictureError& error) {
      return error.what();
    }
    return "<read>";
  }
  QTemporaryDir dir;
};

TEST_F(JpegFileTest, DecodesWhatOrdinaryEncodersWrite) {
  const QColor orange(240, 140, 20);
  struct Case {
    const char* name;
    JpegKind kind;
    QColor expected;
  };
  const Case cases[] = {{"baseline.jpg", JpegKind::Rgb, orange},
                        {"progressive.jpg", JpegKind::Progressive, orange},
                        {"grey.jpg", JpegKind::Grey,
                         QColor(qGray(orange.rgb()), qGray(orange.rgb()), qGray(orange.rgb()))},
                        {"cmyk.jpg", JpegKind::Cmyk, orange}};
  for (const Case& c : cases) {
    const QImage image = ReadJpegFile(Written(c.name, Plain(37, 21, orange), c.kind));
    ASSERT_EQ(image.size(), QSize(37, 21)) << c.name;
    const QColor got = image.pixelColor(18, 10);
    EXPECT_NEAR(got.red(), c.expected.red(), 6) << c.name;
    EXPECT_NEAR(got.green(), c.expected.green(), 6) << c.name;
    EXPECT_NEAR(got.blue(), c.expected.blue(), 6) << c.name;
  }
}

TEST_F(JpegFileTest, RefusesWhatItCannotDecodeNamingTheFile) {
  const QString good = Written("good.jpg", Plain(64, 64, Qt::blue), JpegKind::Rgb);
  QFile source(good);
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  const QByteArray bytes = source.readAll();

  const auto write = [&](const char* name, const QByteArray& content) {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return Path(name);
  };
  EXPECT_EQ(ErrorOf(Path("missing.jpg")),
            "Impossible d'ouvrir le fichier " + Path("missing.jpg").toStdString());
  EXPECT_NE(ErrorOf(write("empty.jpg", {})), "<read>");
  EXPECT_NE(ErrorOf(write("truncated.jpg", bytes.left(bytes.size() / 2))), "<read>");
  EXPECT_NE(ErrorOf(write("text.jpg", "ceci n'est pas une image")), "<read>");
  // A relative name is reported as it was asked for.
  const QString before = QDir::currentPath();
  QDir::setCurrent(dir.path());
  EXPECT_EQ(ErrorOf(QStringLiteral("image/absent.jpg")),
            "Impossible d'ouvrir le fichier image/absent.jpg");
  QDir::setCurrent(before);
}

// A header that announces a huge picture is refused before anything of that size is allocated.
TEST_F(JpegFileTest, RefusesDecompressionBombs) {
  const QString good = Written("small.jpg", Plain(16, 16, Qt::red), JpegKind::Rgb);
  QFile file(good);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray bytes = file.readAll();
  // The baseline frame header (FF C0): length (2), precision (1), height (2), width (2).
  const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  const auto put16 = [&](qsizetype at, int value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
  };
  put16(sof + 5, 10000);  // 10000 × 10000: 100 million pixels
  put16(sof + 7, 10000);
  QFile bomb(Path("bomb.jpg"));
  ASSERT_TRUE(bomb.open(QIODevice::WriteOnly));
  bomb.write(bytes);
  bomb.close();
  EXPECT_EQ(ErrorOf(Path("bomb.jpg")),
            "Impossible d'ouvrir le fichier " + Path("bomb.jpg").toStdString());
}

// Only regular files are read (a named pipe would block the program for ever), and progressive
// files that would cost far more time or memory than any diagram are refused.
TEST_F(JpegFileTest, RefusesWhatWouldHangOrExhaustTheProgram) {
  const auto refused = [](const QString& path) {
    return ErrorOf(path) == "Impossible d'ouvrir le fichier " + path.toStdString();
  };
  EXPECT_TRUE(refused(dir.path()));
#ifdef Q_OS_UNIX
  const QString pipe = Path("pipe.jpg");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  EXPECT_TRUE(refused(pipe));
#endif
  const QImage small = Plain(64, 48, Qt::gray);
  EXPECT_EQ(ReadJpegFile(Written("ten.jpg", small, JpegKind::Grey, 10)).size(), QSize(64, 48));
  EXPECT_EQ(ReadJpegFile(Written("thirty-two.jpg", small, JpegKind::Grey, 32)).size(),
            QSize(64, 48));
  EXPECT_TRUE(refused(Written("forty.jpg", small, JpegKind::Grey, 40)));
  // 4200 × 4200 progressive: 35 MB of coefficients for the decoder to keep.
  EXPECT_TRUE(refused(Written("huge.jpg", Plain(4200, 4200, Qt::gray), JpegKind::Grey, 2)));
}

TEST(PictureBox, ShrinksKeepingProportionsAndNeverEnlarges) {
  struct Row {
    QSize picture, box, expected;
  };
  const Row rows[] = {
      {{100, 50}, {200, 200}, {100, 50}},  // fits: its own size
      {{600, 270}, {600, 270}, {600, 270}},
      {{800, 400}, {400, 300}, {400, 200}},  // wide: the box's width, height truncated
      {{900, 400}, {400, 100}, {225, 100}},  // still too high: the box's height
      {{300, 700}, {400, 350}, {150, 350}},  // tall: the box's height first
      {{700, 701}, {100, 400}, {100, 100}},  // tall and too wide: the box's width (100.14 → 100)
      {{1000, 333}, {300, 300}, {300, 99}},  // 300 / 3.003 = 99.9, truncated
      {{500, 500}, {200, 300}, {200, 200}},  // square starts from the height, then the width
      {{0, 10}, {100, 100}, {0, 0}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ScaledPictureSize(r.picture, r.box), r.expected)
        << r.picture.width() << "x" << r.picture.height() << " in " << r.box.width() << "x"
        << r.box.height();
  }
  TPictureBox box;
  box.resize(300, 200);
  box.SetPicture(Plain(100, 40, Qt::red));
  EXPECT_EQ(box.PictureRect(), QRect(100, 80, 100, 40));  // centred
  box.SetPicture(Plain(600, 100, Qt::red));
  EXPECT_EQ(box.PictureRect(), QRect(0, 75, 300, 50));
}

}  // namespace
