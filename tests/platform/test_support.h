// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small off-screen images for pixel tests, and the application that text and palettes need.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "platform/canvas.h"

inline QImage Filled(int width, int height, TColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQColor(color));
  return image;
}

inline QImage Noise(int width, int height, QImage::Format format, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
  }
  return image;
}

// A width × height image in `background` after `draw` has run on a canvas over it.
inline QImage Paint(int width, int height, const std::function<void(TCanvas&)>& draw,
                    TColor background = clWhite) {
  QImage image = Filled(width, height, background);
  TCanvas canvas(&image);
  draw(canvas);
  canvas.SetTarget(nullptr);
  return image;
}

inline TColor ColorAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return TColor(qRed(p)) | TColor(qGreen(p)) << 8 | TColor(qBlue(p)) << 16;
}

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

inline PixelSet PixelsWhere(const QImage& image, TColor color, bool equal) {
  PixelSet pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((ColorAt(image, x, y) == color) == equal) pixels.insert({x, y});
    }
  }
  return pixels;
}
inline PixelSet PixelsOf(const QImage& image, TColor color) {
  return PixelsWhere(image, color, true);
}
inline PixelSet PixelsNotOf(const QImage& image, TColor color) {
  return PixelsWhere(image, color, false);
}

inline PixelSet BoxPixels(const TRect& r) {
  PixelSet pixels;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Left; x < r.Right; ++x)
      pixels.insert({x, y});
  }
  return pixels;
}

// The image as one line of text, rows separated by '/': '.' white, '#' black, 'R' red,
// 'G' green, '?' anything else.
inline std::string Picture(const QImage& image) {
  std::string text;
  for (int y = 0; y < image.height(); ++y) {
    if (y > 0) text += '/';
    for (int x = 0; x < image.width(); ++x) {
      const TColor c = ColorAt(image, x, y);
      text += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'R' : c == clGreen ? 'G' : '?';
    }
  }
  return text;
}

// The smallest rectangle holding every pixel that is not `background`; empty when none.
inline TRect InkBox(const QImage& image, TColor background) {
  TRect box{image.width(), image.height(), 0, 0};
  for (const auto& [x, y] : PixelsNotOf(image, background)) {
    box = TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                std::max(box.Bottom, y + 1)};
  }
  return box.IsEmpty() ? TRect{} : box;
}

// Suites that need fonts or the desktop palette: a QGuiApplication lives while the suite runs
// and is gone afterwards, so the suites that check the fallbacks without one can run in the
// same process, in any order.
class GuiTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    App() = std::make_unique<QGuiApplication>(argc, argv);
  }
  static void TearDownTestSuite() { App().reset(); }

 private:
  static std::unique_ptr<QGuiApplication>& App() {
    static std::unique_ptr<QGuiApplication> app;
    return app;
  }
};
