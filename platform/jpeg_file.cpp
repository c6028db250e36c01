#include "platform/jpeg_file.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

EPictureError::EPictureError(const QString& path)
    : std::runtime_error(
          QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path).toStdString()) {}

namespace {

constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

// libjpeg reports errors by calling error_exit, which must not return: it jumps back here.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (a file cut short, corrupt data) would leave a half-grey picture: treat them as
// errors. Trace messages (level above 0) are ignored.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) OnError(info);
}

// CMYK as Adobe writes it (inverted) or plain, to RGB.
QRgb FromCmyk(const JSAMPLE* p, bool inverted) {
  int c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) {
    c = 255 - c;
    m = 255 - m;
    y = 255 - y;
    k = 255 - k;
  }
  return qRgb(c * k / 255, m * k / 255, y * k / 255);
}

// Decodes `data` into `image`; false on any failure. Kept free of objects with destructors
// between setjmp and the jumps, as longjmp requires.
bool Decode(const std::vector<unsigned char>& data, QImage& image) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  std::vector<JSAMPLE>* row = new std::vector<JSAMPLE>();
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    delete row;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (static_cast<long long>(info.image_width) * info.image_height > kMaxPicturePixels) {
    jpeg_destroy_decompress(&info);
    delete row;
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
  jpeg_start_decompress(&info);

  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 QImage::Format_RGB32);
  if (image.isNull()) OnError(reinterpret_cast<j_common_ptr>(&info));
  row->resize(static_cast<std::size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    if (info.out_color_space == JCS_EXT_BGRX) {
      // Blue, green, red, pad: the byte order of RGB32, so the row decodes in place.
      JSAMPROW target = reinterpret_cast<JSAMPROW>(out);
      jpeg_read_scanlines(&info, &target, 1);
      continue;
    }
    JSAMPROW target = row->data();
    jpeg_read_scanlines(&info, &target, 1);
    for (JDIMENSION x = 0; x < info.output_width; ++x) {
      out[x] = grey ? qRgb((*row)[x], (*row)[x], (*row)[x])
                    : FromCmyk(row->data() + 4 * x, info.saw_Adobe_marker);
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  delete row;
  return true;
}

}  // namespace

QImage ReadJpegFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes || file.size() == 0) {
    throw EPictureError(path);
  }
  const QByteArray bytes = file.readAll();
  if (bytes.isEmpty()) throw EPictureError(path);
  const std::vector<unsigned char> data(bytes.begin(), bytes.end());
  QImage image;
  if (!Decode(data, image)) throw EPictureError(path);
  return image;
}
