#include "jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// A corrupt file must fail the test, not print a warning and go on.
void OnWarning(j_common_ptr info, int level) {
  if (level < 0) OnError(info);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

DecodedJpeg DecodeJpeg(const std::filesystem::path& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error("cannot open " + path.string());

  DecodedJpeg image;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnWarning;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    throw std::runtime_error(path.string() + ": " + errors.message);
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.components = info.output_components;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.pixels.data() +
                   static_cast<std::size_t>(info.output_scanline) * image.width * image.components;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}
