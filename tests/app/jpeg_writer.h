#pragma once

#include <QImage>
#include <QString>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

// Writes test pictures through libjpeg itself, in the colour spaces and modes ordinary
// encoders produce.
enum class JpegKind { Rgb, Progressive, Grey, Cmyk };

// Progressive grey pictures can be written in `scans` scans (2 to 64): the DC coefficients, then
// the 63 AC ones in equal bands.
inline bool WriteJpeg(const QString& path, const QImage& picture, JpegKind kind, int scans = 0) {
  std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.width());
  info.image_height = static_cast<JDIMENSION>(picture.height());
  const bool grey = kind == JpegKind::Grey, cmyk = kind == JpegKind::Cmyk;
  info.input_components = grey ? 1 : cmyk ? 4 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (kind == JpegKind::Progressive) jpeg_simple_progression(&info);
  std::vector<jpeg_scan_info> script;
  if (grey && scans >= 2) {
    script.push_back({1, {0}, 0, 0, 0, 0});
    const int bands = scans - 1;
    for (int b = 0; b < bands; ++b)
      script.push_back({1, {0}, 1 + 63 * b / bands, 63 * (b + 1) / bands, 0, 0});
    info.scan_info = script.data();
    info.num_scans = static_cast<int>(script.size());
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width()) * info.input_components);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb p = picture.pixel(x, y);
      JSAMPLE* out = row.data() + x * info.input_components;
      if (grey) {
        out[0] = static_cast<JSAMPLE>(qGray(p));
      } else if (cmyk) {
        // Inverted CMYK with K = 255, as Adobe writes it (libjpeg adds the Adobe marker).
        out[0] = static_cast<JSAMPLE>(qRed(p));
        out[1] = static_cast<JSAMPLE>(qGreen(p));
        out[2] = static_cast<JSAMPLE>(qBlue(p));
        out[3] = 255;
      } else {
        out[0] = static_cast<JSAMPLE>(qRed(p));
        out[1] = static_cast<JSAMPLE>(qGreen(p));
        out[2] = static_cast<JSAMPLE>(qBlue(p));
      }
    }
    JSAMPROW rowPointer = row.data();
    jpeg_write_scanlines(&info, &rowPointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
  return true;
}

inline QImage Plain(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}
