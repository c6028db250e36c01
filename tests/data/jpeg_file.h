// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <vector>

// A JPEG file decoded through libjpeg itself, the way the program reads its pictures.
struct DecodedJpeg {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<unsigned char> pixels;  // rows top to bottom, `components` bytes per pixel

  const unsigned char* At(int x, int y) const {
    const auto index = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(x)) *
                       static_cast<std::size_t>(components);
    return pixels.data() + index;
  }
};

// Throws std::runtime_error with libjpeg's message when the file is missing or not a JPEG.
DecodedJpeg DecodeJpeg(const std::filesystem::path& path);
