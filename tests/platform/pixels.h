#pragma once

// Small off-screen images and ways to look at their pixels in tests.

#include <QImage>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/canvas.h"

inline QImage Filled(int width, int height, TColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQColor(color));
  return image;
}

// The plain 0x00BBGGRR colour of a pixel.
inline TColor ColorAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return static_cast<TColor>(qRed(p)) | static_cast<TColor>(qGreen(p)) << 8 |
         static_cast<TColor>(qBlue(p)) << 16;
}

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

inline PixelSet PixelsOf(const QImage& image, TColor color) {
  PixelSet pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ColorAt(image, x, y) == color) pixels.insert({x, y});
    }
  }
  return pixels;
}

inline PixelSet PixelsNotOf(const QImage& image, TColor color) {
  PixelSet pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ColorAt(image, x, y) != color) pixels.insert({x, y});
    }
  }
  return pixels;
}

// The image as rows of characters, one per pixel, '?' for colours not in the legend; rows end
// with '\n' so that expectations read as pictures.
inline std::string Picture(const QImage& image, const std::map<TColor, char>& legend) {
  std::string text;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const auto found = legend.find(ColorAt(image, x, y));
      text += found == legend.end() ? '?' : found->second;
    }
    text += '\n';
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
