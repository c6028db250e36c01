// SPDX-License-Identifier: GPL-3.0-or-later
// libjpeg's failures, wherever they happen, come back as a false Run with libjpeg's own words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/jpeg_error.h"

namespace {

// A flat 16 × 16 grey picture, in memory; `width` 0 makes libjpeg refuse it.
bool Compress(JDIMENSION width, std::vector<unsigned char>& bytes, std::string& message) {
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  JpegCompression jpeg;
  jpeg_compress_struct& info = jpeg.info;
  const bool written = jpeg.Run([&] {
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = 16;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    JSAMPLE row[16] = {};
    JSAMPROW rows = row;
    while (info.next_scanline < info.image_height)
      jpeg_write_scanlines(&info, &rows, 1);
    jpeg_finish_compress(&info);
  });
  bytes.assign(buffer, buffer + size);
  std::free(buffer);
  message = jpeg.errors.Message();
  return written;
}

enum class Steps { ReadAll, MonitorStops, GiveUp };

void StopAtOnce(j_common_ptr info) {
  JpegErrors::Fail(info, "stopped by the monitor");
}

bool Decompress(const std::vector<unsigned char>& bytes, Steps steps, std::string& message) {
  JpegDecompression jpeg;
  jpeg_decompress_struct& info = jpeg.info;
  jpeg_progress_mgr monitor{};
  monitor.progress_monitor = StopAtOnce;
  std::vector<JSAMPLE> row;
  const bool decoded = jpeg.Run([&] {
    jpeg_create_decompress(&info);
    if (steps == Steps::MonitorStops) info.progress = &monitor;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (steps == Steps::GiveUp) return false;
    jpeg_start_decompress(&info);
    row.resize(info.output_width);
    JSAMPROW rows = row.data();
    while (info.output_scanline < info.output_height)
      jpeg_read_scanlines(&info, &rows, 1);
    jpeg_finish_decompress(&info);
    return true;
  });
  message = jpeg.errors.Message();
  return decoded;
}

TEST(JpegErrors, FailuresEndTheRunWithLibjpegsMessage) {
  std::vector<unsigned char> picture;
  std::string message;
  ASSERT_TRUE(Compress(16, picture, message)) << message;
  EXPECT_EQ(message, "");
  std::vector<unsigned char> refused;
  EXPECT_FALSE(Compress(0, refused, message));
  EXPECT_EQ(message, "Empty JPEG image (DNL not supported)");

  const std::vector<unsigned char> text = {'G', 'I', 'F', '8', '9', 'a'};
  const std::vector<unsigned char> half(picture.begin(),
                                        picture.begin() + std::ptrdiff_t(picture.size() / 2));
  struct Case {
    const char* name;
    const std::vector<unsigned char>& bytes;
    Steps steps;
    bool decoded;
    const char* message;
  };
  const Case cases[] = {
      {"whole", picture, Steps::ReadAll, true, ""},
      {"not a JPEG", text, Steps::ReadAll, false, "Not a JPEG file: starts with 0x47 0x49"},
      // A warning: libjpeg would go on and make up the missing half.
      {"cut short", half, Steps::ReadAll, false, "Premature end of JPEG file"},
      {"stopped by a callback", picture, Steps::MonitorStops, false, "stopped by the monitor"},
      {"given up by the steps", picture, Steps::GiveUp, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decompress(c.bytes, c.steps, message), c.decoded) << c.name;
    EXPECT_EQ(message, c.message) << c.name;
  }
}

}  // namespace
