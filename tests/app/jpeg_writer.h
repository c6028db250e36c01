// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/jpeg_error.h"

// Writes test pictures through libjpeg itself, in the colour spaces and modes ordinary
// encoders produce.
enum class JpegKind { Rgb, Progressive, Grey, Cmyk };

// One row of `picture` as libjpeg's samples for `kind`.
inline void FillRow(const QImage& picture, int y, JpegKind kind, JSAMPLE* out) {
  for (int x = 0; x < picture.width(); ++x) {
    const QRgb p = picture.pixel(x, y);
    if (kind == JpegKind::Grey) {
      *out++ = static_cast<JSAMPLE>(qGray(p));
      continue;
    }
    *out++ = static_cast<JSAMPLE>(qRed(p));
    *out++ = static_cast<JSAMPLE>(qGreen(p));
    *out++ = static_cast<JSAMPLE>(qBlue(p));
    // Inverted CMYK with K = 255, as Adobe writes it (libjpeg adds the Adobe marker).
    if (kind == JpegKind::Cmyk) *out++ = 255;
  }
}

// Progressive grey pictures can be written in `scans` scans (2 to 64): the DC coefficients, then
// the 63 AC ones in equal bands.
inline bool WriteJpeg(const QString& path, const QImage& picture, JpegKind kind, int scans = 0) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.toLocal8Bit().constData(), "wb"));
  if (file == nullptr) return false;
  const bool grey = kind == JpegKind::Grey, cmyk = kind == JpegKind::Cmyk;
  const int components = grey ? 1 : cmyk ? 4 : 3;
  std::vector<jpeg_scan_info> script;
  if (grey && scans >= 2) {
    script.push_back({1, {0}, 0, 0, 0, 0});
    const int bands = scans - 1;
    for (int b = 0; b < bands; ++b)
      script.push_back({1, {0}, 1 + 63 * b / bands, 63 * (b + 1) / bands, 0, 0});
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width() * components));
  JpegCompression jpeg;
  jpeg_compress_struct& info = jpeg.info;
  return jpeg.Run([&] {
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = components;
    info.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (kind == JpegKind::Progressive) jpeg_simple_progression(&info);
    if (!script.empty()) {
      info.scan_info = script.data();
      info.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      FillRow(picture, static_cast<int>(info.next_scanline), kind, row.data());
      JSAMPROW rowPointer = row.data();
      jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
  });
}

inline QImage Plain(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}
