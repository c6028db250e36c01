// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/jpeg_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <vector>

#include "platform/jpeg_error.h"

EPictureError::EPictureError(const QString& path)
    : std::runtime_error(
          QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path).toStdString()) {}

namespace {

constexpr qint64 kMaxFileBytes = qint64{256} * 1024 * 1024;
// The decoder's own working memory (a progressive file keeps every coefficient of the picture,
// about 2 bytes a sample) and the scans of a progressive file: a wiring diagram needs a few
// megabytes and about ten scans; far beyond either, a file costs time and memory for nothing.
constexpr long kMaxDecoderBytes = 32L * 1024 * 1024;
constexpr int kMaxScans = 32;

void OnProgress(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
    JpegErrors::Fail(info, "too many scans");
  }
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

// Colour pictures decode straight into RGB32's byte order; grey and CMYK ones are converted.
J_COLOR_SPACE OutputSpace(J_COLOR_SPACE file) {
  if (file == JCS_CMYK || file == JCS_YCCK) return JCS_CMYK;
  if (file == JCS_GRAYSCALE) return JCS_GRAYSCALE;
  return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
}

// One row of grey or CMYK samples to RGB32.
void ConvertRow(const std::vector<JSAMPLE>& row, bool grey, bool adobe, QRgb* out) {
  if (grey) {
    for (std::size_t x = 0; x < row.size(); ++x) {
      out[x] = qRgb(row[x], row[x], row[x]);
    }
    return;
  }
  for (std::size_t x = 0; 4 * x < row.size(); ++x) {
    out[x] = FromCmyk(&row[4 * x], adobe);
  }
}

// Reads every scan line into `image`: in place, or through `row` to be converted.
void ReadRows(jpeg_decompress_struct& info, QImage& image, std::vector<JSAMPLE>& row) {
  const bool grey = info.out_color_space == JCS_GRAYSCALE;
  const bool converted = grey || info.out_color_space == JCS_CMYK;
  row.resize(std::size_t{info.output_width} * static_cast<std::size_t>(info.output_components));
  while (info.output_scanline < info.output_height) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(info.output_scanline)));
    JSAMPROW target = converted ? row.data() : reinterpret_cast<JSAMPROW>(out);
    jpeg_read_scanlines(&info, &target, 1);
    if (converted) ConvertRow(row, grey, info.saw_Adobe_marker != 0, out);
  }
}

// Decodes `data` into `image`; false on any failure or refusal.
bool Decode(const unsigned char* data, std::size_t size, QImage& image) {
  JpegDecompression jpeg;
  jpeg_decompress_struct& info = jpeg.info;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  std::vector<JSAMPLE> row;
  // Whatever has a destructor lives above: a failure leaves the steps below by longjmp.
  return jpeg.Run([&] {
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderBytes;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height > kMaxPicturePixels) {
      return false;
    }
    info.out_color_space = OutputSpace(info.jpeg_color_space);
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
    if (image.isNull()) return false;
    ReadRows(info, image, row);
    jpeg_finish_decompress(&info);
    return true;
  });
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
