// SPDX-License-Identifier: GPL-3.0-or-later
// The picture box on high-density screens: the vector source rendered at the device's
// resolution, the bitmap otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include "platform/picture_box.h"

namespace {

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
  QFile file(dir.filePath(QString::fromLatin1(name)));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return file.fileName();
}

QColor GrabbedAt(TPictureBox& box, int ratio, QPoint devicePixel) {
  QPixmap pixmap(box.size() * ratio);
  pixmap.setDevicePixelRatio(ratio);
  box.render(&pixmap);
  return pixmap.toImage().pixelColor(devicePixel);
}

TEST(PictureBox, HighDensityShowsTheVectorSourceElseTheBitmap) {
  int argc = 1;
  char name[] = "platform_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QTemporaryDir dir;
  // A 40 × 20 drawing, red on the left half and blue on the right; the bitmap is green.
  const QString valid = Write(dir, "valid.svg",
                              "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                              "<rect width='20' height='20' fill='#f00'/>"
                              "<rect x='20' width='20' height='20' fill='#00f'/></svg>");
  const QString broken = Write(dir, "broken.svg", "<svg><rect width=");
  QImage bitmap(40, 20, QImage::Format_RGB32);
  bitmap.fill(Qt::green);
  TPictureBox box;
  box.resize(100, 100);  // the picture at (30, 40)
  struct Case {
    QString source;
    qreal ratio;
    bool vector;
  } const cases[] = {{valid, 1, false},
                     {valid, 2, true},
                     {valid, 1.5, true},
                     {broken, 2, false},
                     {dir.filePath("none.svg"), 2, false}};
  for (const Case& c : cases) {
    box.SetPicture(bitmap, c.source);
    const QImage shown = box.DisplayedPicture(c.ratio);
    const QString label = c.source + QString::number(c.ratio);
    if (!c.vector) {
      EXPECT_EQ(shown, bitmap) << label.toStdString();
      continue;
    }
    const int w = static_cast<int>(40 * c.ratio), h = static_cast<int>(20 * c.ratio);
    ASSERT_EQ(shown.size(), QSize(w, h)) << label.toStdString();
    EXPECT_EQ(shown.pixelColor(w / 2 - 1, h / 2), QColor(Qt::red)) << label.toStdString();
    EXPECT_EQ(shown.pixelColor(w / 2, h / 2), QColor(Qt::blue)) << label.toStdString();
  }
  // Through the paint event: the drawing's sharp edge at 2×, the bitmap at 1× and when broken.
  box.SetPicture(bitmap, valid);
  EXPECT_EQ(GrabbedAt(box, 2, {99, 100}), QColor(Qt::red));
  EXPECT_EQ(GrabbedAt(box, 2, {100, 100}), QColor(Qt::blue));
  EXPECT_EQ(GrabbedAt(box, 1, {49, 50}), QColor(Qt::green));
  box.SetPicture(bitmap, broken);
  EXPECT_EQ(GrabbedAt(box, 2, {99, 100}), QColor(Qt::green));
  EXPECT_EQ(VectorSourceOf(QStringLiteral("image/branché.jpg")),
            QStringLiteral("image/branché.svg"));
}

}  // namespace
