#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include "gui_test.h"
#include "pixels.h"
#include "platform/canvas.h"

namespace {

TEST(Color, PlainColoursAreBlueGreenRedFromTheTopByte) {
  const struct {
    TColor color;
    QColor rgb;
  } rows[] = {
      {clRed, QColor(255, 0, 0)},           {clLime, QColor(0, 255, 0)},
      {clBlue, QColor(0, 0, 255)},          {0x123456, QColor(0x56, 0x34, 0x12)},
      {0xCCC05B, QColor(0x5B, 0xC0, 0xCC)}, {clBlack, QColor(0, 0, 0)},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ToQColor(row.color), row.rgb) << std::hex << row.color;
    EXPECT_EQ(FromQColor(row.rgb), row.color) << std::hex << row.color;
    EXPECT_EQ(ResolveColor(row.color), row.color) << std::hex << row.color;
  }
  EXPECT_EQ(FromQColor(QColor::fromHsv(120, 255, 255)), clLime);
}

TEST(Color, MarkersAndUnknownSystemColoursGiveBlack) {
  EXPECT_EQ(ToQColor(clDefault), QColor(Qt::black));
  EXPECT_EQ(ToQColor(clNone), QColor(Qt::black));
  EXPECT_EQ(ToQColor(0x80000005), QColor(Qt::black));
  EXPECT_EQ(ResolveColor(clDefault), clBlack);
  EXPECT_EQ(ResolveColor(clNone), clBlack);
}

TEST(ColorWithoutGui, SystemColoursFallBackToTheClassicGreys) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(ResolveColor(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ResolveColor(clBtnShadow), 0xA0A0A0u);
  EXPECT_EQ(ResolveColor(clBtnHighlight), 0xFFFFFFu);
}

class ColorWithGui : public GuiTest {};

TEST_F(ColorWithGui, SystemColoursFollowTheApplicationPalette) {
  QPalette palette = QGuiApplication::palette();
  palette.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
  palette.setColor(QPalette::Dark, QColor(0x40, 0x50, 0x60));
  palette.setColor(QPalette::Light, QColor(0x70, 0x80, 0x90));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(ResolveColor(clBtnFace), 0x302010u);
  EXPECT_EQ(ResolveColor(clBtnShadow), 0x605040u);
  EXPECT_EQ(ResolveColor(clBtnHighlight), 0x908070u);

  // Pens and brushes resolve them when they draw.
  QImage image = Filled(4, 2, clWhite);
  TCanvas canvas(&image);
  canvas.Pen.Color = clBtnShadow;
  canvas.MoveTo(0, 0);
  canvas.LineTo(4, 0);
  canvas.Brush.Color = clBtnHighlight;
  canvas.FillRect({0, 1, 4, 2});
  EXPECT_EQ(PixelsOf(image, 0x605040), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(PixelsOf(image, 0x908070), (PixelSet{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
  QGuiApplication::setPalette(QPalette());
}

}  // namespace
