// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QPalette>

#include "test_support.h"

namespace {

TEST(Color, PlainColoursAreBlueGreenRedFromTheHighByte) {
  const std::pair<TColor, QColor> rows[] = {
      {clRed, QColor(255, 0, 0)},
      {clBlue, QColor(0, 0, 255)},
      {0x123456, QColor(0x56, 0x34, 0x12)},
      {0xCCC05B, QColor(0x5B, 0xC0, 0xCC)},
  };
  for (const auto& [color, rgb] : rows) {
    EXPECT_EQ(ToQColor(color), rgb) << std::hex << color;
    EXPECT_EQ(FromQColor(rgb), color) << std::hex << color;
    EXPECT_EQ(ResolveColor(color), color) << std::hex << color;
  }
  EXPECT_EQ(FromQColor(QColor::fromHsv(120, 255, 255)), clLime);
  // Markers and system colours this program does not use stand for black.
  for (const TColor marker : {clDefault, clNone, TColor{0x80000005}}) {
    EXPECT_EQ(ToQColor(marker), QColor(Qt::black)) << std::hex << marker;
    EXPECT_EQ(ResolveColor(marker), clBlack) << std::hex << marker;
  }
}

TEST(ColorWithoutGui, SystemColoursFallBackToClassicGreys) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(ResolveColor(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ResolveColor(clBtnShadow), 0xA0A0A0u);
  EXPECT_EQ(ResolveColor(clBtnHighlight), 0xFFFFFFu);
}

class ColorWithGui : public GuiTest {};

TEST_F(ColorWithGui, SystemColoursFollowTheApplicationPaletteWhenDrawing) {
  QPalette palette = QGuiApplication::palette();
  palette.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
  palette.setColor(QPalette::Dark, QColor(0x40, 0x50, 0x60));
  palette.setColor(QPalette::Light, QColor(0x70, 0x80, 0x90));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(ResolveColor(clBtnFace), 0x302010u);
  const QImage image = Paint(4, 2, [](TCanvas& c) {
    c.Pen.Color = clBtnShadow;
    c.LineTo(4, 0);
    c.Brush.Color = clBtnHighlight;
    c.FillRect({0, 1, 4, 2});
  });
  EXPECT_EQ(PixelsOf(image, 0x605040), BoxPixels({0, 0, 4, 1}));
  EXPECT_EQ(PixelsOf(image, 0x908070), BoxPixels({0, 1, 4, 2}));
}

}  // namespace
