#include <gtest/gtest.h>

#include <QPainter>
#include <random>

#include "gui_test.h"
#include "pixels.h"
#include "platform/canvas.h"

namespace {

QImage Noise(int width, int height, QImage::Format format, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
  }
  return image;
}

TEST(CanvasDraw, CopiesTheBlockIgnoringClipAndPenMode) {
  const QImage source = Noise(5, 4, QImage::Format_RGB32, 1);
  QImage image = Filled(8, 6, clWhite);
  TCanvas canvas(&image);
  canvas.IntersectClipRect({0, 0, 1, 1});
  canvas.Pen.Mode = pmNotXor;
  canvas.Draw(-2, 3, source);  // only columns 2..4 and rows 0..2 of the source land
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool covered = x < 3 && y >= 3;
      ASSERT_EQ(image.pixel(x, y), covered ? source.pixel(x + 2, y - 3) : 0xFFFFFFFFu)
          << x << "," << y;
    }
  }
}

TEST(CanvasDraw, ConvertsAnotherFormat) {
  const QImage source = Noise(3, 3, QImage::Format_RGB888, 2);
  QImage image = Filled(5, 5, clWhite);
  TCanvas canvas(&image);
  canvas.Draw(1, 2, source);
  EXPECT_EQ(image.copy(1, 2, 3, 3), source.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
}

TEST(CanvasDraw, DrawsItsOwnTargetShifted) {
  QImage image = Noise(6, 5, QImage::Format_RGB32, 3);
  const QImage before = image.copy();
  TCanvas canvas(&image);
  canvas.Draw(1, 1, image);
  EXPECT_EQ(image.copy(1, 1, 5, 4), before.copy(0, 0, 5, 4));
  EXPECT_EQ(image.copy(0, 0, 6, 1), before.copy(0, 0, 6, 1));
}

TEST(CanvasTarget, WithoutAnImageDrawingDoesNothing) {
  TCanvas canvas;
  canvas.MoveTo(1, 2);
  canvas.LineTo(5, 6);
  canvas.Rectangle(0, 0, 4, 4);
  canvas.FillRect({0, 0, 4, 4});
  canvas.Draw(0, 0, Filled(2, 2, clRed));
  EXPECT_EQ(canvas.PenPos(), (TPoint{5, 6}));
  QImage null;
  canvas.SetTarget(&null);
  canvas.LineTo(0, 0);
  EXPECT_TRUE(null.isNull());
}

TEST(CanvasTarget, CopiesOfTheImageKeepTheirPixels) {
  QImage image = Filled(6, 6, clWhite);
  TCanvas canvas(&image);
  canvas.MoveTo(0, 0);
  canvas.LineTo(6, 0);
  const QImage copy = image;  // shares the pixels until one side writes
  canvas.MoveTo(0, 1);
  canvas.LineTo(6, 1);
  canvas.Brush.Color = clRed;
  canvas.FillRect({0, 4, 6, 6});
  EXPECT_EQ(PixelsOf(copy, clBlack).size(), 6u);
  EXPECT_EQ(PixelsOf(image, clBlack).size(), 12u);
  EXPECT_EQ(PixelsNotOf(image, clWhite).size(), 24u);
}

TEST(CanvasTarget, AnotherFormatIsConvertedBeforeDrawing) {
  QImage image(4, 2, QImage::Format_RGB888);
  image.fill(Qt::white);
  TCanvas canvas(&image);
  canvas.Pen.Color = clRed;
  canvas.MoveTo(0, 1);
  canvas.LineTo(4, 1);
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(PixelsOf(image, clRed), (PixelSet{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
}

class CanvasTextTarget : public GuiTest {};

TEST_F(CanvasTextTarget, CopyTakenBetweenTextsKeepsItsPixels) {
  QImage image = Filled(60, 20, clWhite);
  TCanvas canvas(&image);
  canvas.BackgroundMode = bkTransparent;
  canvas.TextOut(1, 1, "12");
  const QImage snapshot = image.copy();
  const QImage copy = image;
  canvas.MoveTo(0, 18);
  canvas.LineTo(60, 18);
  canvas.TextOut(30, 1, "34");
  EXPECT_EQ(copy, snapshot);
  EXPECT_EQ(PixelsNotOf(image.copy(0, 18, 60, 1), clBlack), PixelSet{});
  EXPECT_FALSE(PixelsNotOf(image.copy(30, 0, 30, 17), clWhite).empty());  // the second text
}

TEST_F(CanvasTextTarget, PainterLetsGoOfAnImageWhenTheTargetChangesOrTheCanvasDies) {
  QImage first = Filled(40, 20, clWhite);
  QImage second = Filled(40, 20, clWhite);
  {
    TCanvas canvas(&first);
    canvas.TextOut(0, 0, "A");
    canvas.SetTarget(&second);
    canvas.TextOut(0, 0, "B");
    QPainter painter;
    EXPECT_TRUE(painter.begin(&first));
  }
  QPainter painter;
  EXPECT_TRUE(painter.begin(&second));
}

}  // namespace
