// SPDX-License-Identifier: GPL-3.0-or-later
// The build tool that draws the pictures: SVG through Qt SVG, JPEG through libjpeg, and the
// program icon kept in step with its drawing.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "data_paths.h"
#include "jpeg_file.h"
#include "tools/jpeg_writer.h"
#include "tools/svg_raster.h"

namespace fs = std::filesystem;

namespace {

// Largest difference of any channel, so a colour that went astray shows at once.
int Distance(const unsigned char* rgb, QColor expected) {
  return std::max({std::abs(rgb[0] - expected.red()), std::abs(rgb[1] - expected.green()),
                   std::abs(rgb[2] - expected.blue())});
}

int Distance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

fs::path WriteText(const QTemporaryDir& dir, const char* name, const char* text) {
  fs::path path = fs::path(dir.path().toStdString()) / name;
  std::ofstream(path) << text;
  return path;
}

class JpegWriter : public testing::Test {
 protected:
  fs::path Temp(const char* name) const { return fs::path(dir_.path().toStdString()) / name; }
  QTemporaryDir dir_;
};

TEST_F(JpegWriter, ColoursAndSizeSurviveTheRoundTrip) {
  // Odd sizes catch row-stride mistakes; flat blocks keep JPEG's error small.
  QImage image(101, 47, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const QColor blocks[] = {QColor(200, 30, 30), QColor(20, 160, 40), QColor(30, 40, 190),
                           QColor(0, 0, 0)};
  for (int i = 0; i < 4; ++i)
    painter.fillRect(i * 25, 0, 25, 47, blocks[i]);
  painter.end();

  WriteJpeg(image, Temp("blocks.jpg"));
  const DecodedJpeg decoded = DecodeJpeg(Temp("blocks.jpg"));
  ASSERT_EQ(decoded.width, 101);
  ASSERT_EQ(decoded.height, 47);
  for (int i = 0; i < 4; ++i)
    EXPECT_LE(Distance(decoded.At(i * 25 + 12, 23), blocks[i]), 12) << "block " << i;
  EXPECT_LE(Distance(decoded.At(100, 23), Qt::white), 12) << "last column";
}

TEST_F(JpegWriter, LaysTransparentPixelsOnWhite) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  WriteJpeg(image, Temp("clear.jpg"));
  EXPECT_LE(Distance(DecodeJpeg(Temp("clear.jpg")).At(8, 8), Qt::white), 3);
}

TEST_F(JpegWriter, ReportsWhatItCannotWrite) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::gray);
  EXPECT_THROW(WriteJpeg(image, Temp("no/such/folder/x.jpg")), std::runtime_error);
  EXPECT_THROW(WriteJpeg(QImage(), Temp("null.jpg")), std::runtime_error);
}

TEST(SvgRaster, DrawsAtTheRequestedOrTheDrawingsOwnSize) {
  QTemporaryDir dir;
  const fs::path svg = WriteText(dir, "half.svg",
                                 "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20' "
                                 "viewBox='0 0 40 20'><rect x='0' y='0' width='20' height='20' "
                                 "fill='#0000ff'/></svg>");
  const QString path = QString::fromStdString(svg.string());

  const QImage own = RenderSvg(path);
  EXPECT_EQ(own.size(), QSize(40, 20));
  EXPECT_EQ(Distance(own.pixel(5, 10), qRgb(0, 0, 255)), 0);
  EXPECT_EQ(Distance(own.pixel(35, 10), qRgb(255, 255, 255)), 0) << "white paper";

  const QImage scaled = RenderSvg(path, QSize(80, 40));
  EXPECT_EQ(scaled.size(), QSize(80, 40));
  EXPECT_EQ(Distance(scaled.pixel(38, 20), qRgb(0, 0, 255)), 0) << "the view box is stretched";
  EXPECT_EQ(Distance(scaled.pixel(42, 20), qRgb(255, 255, 255)), 0);

  const QImage clear = RenderSvg(path, QSize(), Qt::transparent);
  EXPECT_EQ(qAlpha(clear.pixel(35, 10)), 0) << "an icon keeps its transparent parts";
}

TEST(SvgRaster, RejectsWhatIsNotADrawing) {
  QTemporaryDir dir;
  EXPECT_THROW(RenderSvg(dir.path() + "/missing.svg"), std::runtime_error);
  const fs::path text = WriteText(dir, "note.svg", "pas du SVG");
  EXPECT_THROW(RenderSvg(QString::fromStdString(text.string())), std::runtime_error);
}

TEST(ProgramIcon, PngIsThe32PixelDrawingOfItsSvg) {
  const QImage png(QString::fromStdString((SourceDir() / "icons/simhacheur.png").string()));
  ASSERT_FALSE(png.isNull());
  ASSERT_EQ(png.size(), QSize(32, 32));
  EXPECT_TRUE(png.hasAlphaChannel());

  // Stale if the SVG was edited without redrawing the PNG (target program_icon).
  const QImage drawn =
      RenderSvg(QString::fromStdString((SourceDir() / "icons/simhacheur.svg").string()),
                QSize(32, 32), Qt::transparent)
          .convertToFormat(QImage::Format_ARGB32);
  const QImage kept = png.convertToFormat(QImage::Format_ARGB32);
  int worst = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      worst = std::max(worst, Distance(kept.pixel(x, y), drawn.pixel(x, y)));
  EXPECT_LE(worst, 8);
}

}  // namespace
