// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/jpeg_writer.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/jpeg_error.h"

namespace {

// Flattened onto white, 8 bits per channel, so each scan line is ready for libjpeg as it is.
QImage OpaqueRgb(const QImage& image) {
  QImage canvas(image.size(), QImage::Format_RGB888);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  painter.drawImage(0, 0, image);
  return canvas;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void WriteJpeg(const QImage& image, const std::filesystem::path& path, int quality) {
  if (image.isNull()) throw std::runtime_error("no image to write to " + path.string());
  const QImage rgb = OpaqueRgb(image);

  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot write " + path.string());

  JpegCompression jpeg;
  jpeg_compress_struct& info = jpeg.info;
  const bool written = jpeg.Run([&] {
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour: thin coloured lines and small labels keep their edges.
    for (int c = 0; c < info.num_components; ++c) {
      info.comp_info[c].h_samp_factor = 1;
      info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      // libjpeg's row pointer is not const, although it only reads the row.
      auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
  });
  if (!written) throw std::runtime_error(path.string() + ": " + jpeg.errors.Message());
}
