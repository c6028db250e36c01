#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontInfo>
#include <string>

#include "gui_test.h"
#include "pixels.h"
#include "platform/canvas.h"

namespace {

class CanvasText : public GuiTest {};

TEST_F(CanvasText, PointSizeGivesThePixelSizeAt96Dpi) {
  TCanvas canvas;
  const struct { int points, pixels; } rows[] = {{8, 11}, {9, 12}, {10, 13}, {12, 16}, {6, 8}};
  for (const auto& row : rows) {
    canvas.Font.Size = row.points;
    EXPECT_EQ(canvas.CurrentQFont().pixelSize(), row.pixels) << row.points << " points";
  }
}

TEST_F(CanvasText, ArialResolvesToAMetricCompatibleFace) {
  TCanvas canvas;
  EXPECT_EQ(QFontInfo(canvas.CurrentQFont()).family(), "Liberation Sans");
  canvas.Font.Bold = true;
  canvas.Font.Italic = true;
  const QFontInfo info(canvas.CurrentQFont());
  EXPECT_TRUE(info.bold());
  EXPECT_TRUE(info.italic());
}

TEST_F(CanvasText, ExtentsFollowTheFont) {
  TCanvas canvas;                         // measuring needs no image
  EXPECT_EQ(canvas.TextHeight("W"), 12);  // the axis labels' line height: ascent 10 + descent 2
  EXPECT_EQ(canvas.TextHeight(""), 12);
  EXPECT_EQ(canvas.TextWidth(""), 0);
  EXPECT_GT(canvas.TextWidth("2"), 0);
  EXPECT_EQ(canvas.TextWidth("2525"), 2 * canvas.TextWidth("25"));
  const int plain = canvas.TextWidth("bbbb");
  canvas.Font.Bold = true;
  EXPECT_GT(canvas.TextWidth("bbbb"), plain);
  canvas.Font.Size = 16;
  EXPECT_GT(canvas.TextHeight("W"), 20);
}

struct AlignRow {
  const char* name;
  int align;
  int shiftNumerator;  // the box's left edge is x - w * shiftNumerator / 2
  bool bottom;
};

void PrintTo(const AlignRow& row, std::ostream* os) {
  *os << row.name;
}

class CanvasTextAlign : public GuiTest, public testing::WithParamInterface<AlignRow> {};

TEST_P(CanvasTextAlign, InkLiesInTheBoxTheAlignmentPlaces) {
  const AlignRow row = GetParam();
  QImage image = Filled(120, 50, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundMode = bkTransparent;
  canvas.TextAlign = row.align;
  const QString text = "Wg-25";
  const int w = canvas.TextWidth(text);
  const int h = canvas.TextHeight(text);
  canvas.TextOut(60, 25, text);
  const TRect box{60 - w * row.shiftNumerator / 2, row.bottom ? 25 - h : 25, 0, 0};
  const TRect expected{box.Left, box.Top, box.Left + w, box.Top + h};
  const TRect ink = InkBox(image, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, expected.Left);
  EXPECT_LE(ink.Right, expected.Right);
  EXPECT_GE(ink.Top, expected.Top);
  EXPECT_LE(ink.Bottom, expected.Bottom);
  // The ink fills the box but for the side bearings and the room above the capitals.
  EXPECT_LE(ink.Left - expected.Left + expected.Right - ink.Right, 3);
  EXPECT_LE(ink.Top - expected.Top, 3);
  EXPECT_LE(expected.Bottom - ink.Bottom, 1);  // the descender of "g"
}

INSTANTIATE_TEST_SUITE_P(Flags, CanvasTextAlign,
                         testing::Values(AlignRow{"LeftTop", taLeft + taTop, 0, false},
                                         AlignRow{"RightTop", taRight + taTop, 2, false},
                                         AlignRow{"CenterTop", taCenter + taTop, 1, false},
                                         AlignRow{"LeftBottom", taLeft + taBottom, 0, true},
                                         AlignRow{"RightBottom", taRight + taBottom, 2, true},
                                         AlignRow{"CenterBottom", taCenter + taBottom, 1, true}),
                         [](const testing::TestParamInfo<AlignRow>& info) {
                           return std::string(info.param.name);
                         });

PixelSet BoxPixels(const TRect& r) {
  PixelSet pixels;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Left; x < r.Right; ++x)
      pixels.insert({x, y});
  }
  return pixels;
}

TEST_F(CanvasText, OpaqueBackgroundFillsExactlyTheBox) {
  QImage image = Filled(60, 30, clGreen);
  QImage clear = Filled(60, 30, clGreen);
  TCanvas canvas(&image);
  canvas.BackgroundColor = clRed;
  canvas.BackgroundMode = bkOpaque;
  canvas.TextOut(10, 5, "Wg");
  const TRect box{10, 5, 10 + canvas.TextWidth("Wg"), 5 + canvas.TextHeight("Wg")};
  EXPECT_EQ(PixelsNotOf(image, clGreen), BoxPixels(box));
  EXPECT_EQ(ColorAt(image, box.Left, box.Top), clRed);

  canvas.SetTarget(&clear);
  canvas.BackgroundMode = bkTransparent;
  canvas.TextOut(10, 5, "Wg");
  EXPECT_EQ(PixelsOf(clear, clRed), PixelSet{});
  EXPECT_FALSE(PixelsNotOf(clear, clGreen).empty());
}

TEST_F(CanvasText, InkIsTheFontColourBlendedOverTheImage) {
  QImage image = Filled(40, 40, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundMode = bkTransparent;
  canvas.Font.Color = clBlue;
  canvas.Font.Size = 16;
  canvas.Font.Bold = true;
  canvas.TextOut(5, 5, "IH");
  EXPECT_FALSE(PixelsOf(image, clBlue).empty());  // the stems are fully covered
  for (const auto& [x, y] : PixelsNotOf(image, clWhite)) {
    const QRgb p = image.pixel(x, y);
    ASSERT_EQ(qBlue(p), 255) << x << "," << y;  // white to blue: red and green fall together
    ASSERT_EQ(qRed(p), qGreen(p)) << x << "," << y;
  }
}

TEST_F(CanvasText, TextIsClipped) {
  QImage image = Filled(80, 20, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundColor = clRed;
  canvas.IntersectClipRect({0, 0, 20, 20});
  canvas.TextOut(10, 2, "WWWW");
  const TRect visible{10, 2, 20, 2 + canvas.TextHeight("W")};
  EXPECT_EQ(PixelsNotOf(image, clWhite), BoxPixels(visible));
  canvas.RemoveClip();
  canvas.TextOut(10, 2, "WWWW");
  EXPECT_GT(InkBox(image, clWhite).Right, 30);
}

TEST_F(CanvasText, AChangedFontTakesEffectAtTheNextText) {
  QImage image = Filled(60, 60, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundMode = bkTransparent;
  canvas.TextOut(0, 0, "H");
  canvas.Font.Size = 24;
  canvas.TextOut(0, 20, "H");
  const int small = InkBox(image.copy(0, 0, 60, 20), clWhite).Height();
  const int large = InkBox(image.copy(0, 20, 60, 40), clWhite).Height();
  EXPECT_GE(small, 7);
  EXPECT_GE(large, 2 * small);
}

TEST(CanvasTextWithoutGui, MeasuresZeroAndDrawsNothing) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  QImage image = Filled(40, 20, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundColor = clRed;
  EXPECT_EQ(canvas.TextWidth("W"), 0);
  EXPECT_EQ(canvas.TextHeight("W"), 0);
  canvas.TextOut(0, 0, "W");

  int argc = 1;
  char name[] = "core";
  char* argv[] = {name, nullptr};
  QCoreApplication core(argc, argv);  // an application, but still no fonts
  EXPECT_EQ(canvas.TextWidth("W"), 0);
  canvas.TextOut(0, 0, "W");
  EXPECT_EQ(PixelsNotOf(image, clWhite), PixelSet{});
}

}  // namespace
