// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_file.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/jpeg_error.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

DecodedJpeg DecodeJpeg(const std::filesystem::path& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error("cannot open " + path.string());

  DecodedJpeg image;
  JpegDecompression jpeg;
  jpeg_decompress_struct& info = jpeg.info;
  // A corrupt file fails the test rather than decoding around the damage.
  const bool decoded = jpeg.Run([&] {
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.components = info.output_components;
    const std::size_t stride =
        std::size_t{info.output_width} * static_cast<std::size_t>(info.output_components);
    image.pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = image.pixels.data() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  });
  if (!decoded) throw std::runtime_error(path.string() + ": " + jpeg.errors.Message());
  return image;
}
