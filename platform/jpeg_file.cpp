#include "platform/jpeg_file.h"

#include <QFile>
#include <QFileInfo>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

EPictureError::EPictureError(const QString& path)
    : std::runtime_error(
          QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path).toStdString()) {}

namespace {

constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;
// The decoder's own working memory (a progressive file keeps every coefficient of the picture,
// about 2 bytes a sample) and the scans of a progressive file: a wiring diagram needs a few
// megabytes and about ten scans; far beyond either, a file costs time and memory for nothing.
constexpr long kMaxDecoderBytes = 32L * 1024 * 1024;
constexpr int kMaxScans = 32;

// libjpeg reports errors by calling error_exit, which must not return: it jumps back here.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) OnError(info);
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
bool Decode(const unsigned char* data, std::size_t size, QImage& image) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  std::vector<JSAMPLE>* row = new std::vector<JSAMPLE>();
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    delete row;
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderBytes;
  info.progress = &progress;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
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
  // Anything but a regular file is refused before it is opened: opening a named pipe waits
  // for a writer that may never come, and a device has no end.
  if (!QFileInfo(path).isFile()) throw EPictureError(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() > kMaxFileBytes ||
      file.size() == 0) {
    throw EPictureError(path);
  }
  // Read once, straight into the decoder's buffer; a file that shrinks meanwhile is taken as
  // far as it goes.
  std::vector<unsigned char> data(static_cast<std::size_t>(file.size()));
  const qint64 got = file.read(reinterpret_cast<char*>(data.data()), file.size());
  if (got <= 0) throw EPictureError(path);
  data.resize(static_cast<std::size_t>(got));
  QImage image = DecodeJpeg(data.data(), data.size());
  if (image.isNull()) throw EPictureError(path);
  return image;
}

QImage DecodeJpeg(const unsigned char* data, std::size_t size) {
  QImage image;
  if (size == 0 || size > static_cast<std::size_t>(kMaxFileBytes) || !Decode(data, size, image)) {
    return {};
  }
  return image;
}
