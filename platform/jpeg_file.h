// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>
#include <stdexcept>

// A picture that could not be opened or decoded; the message names the file as it was asked for.
class EPictureError : public std::runtime_error {
 public:
  explicit EPictureError(const QString& path);
};

// Pictures with more pixels than this are refused before anything large is allocated.
inline constexpr long long kMaxPicturePixels = 50'000'000;

// Decodes the JPEG file at `path` (relative paths start at the working directory) through
// libjpeg: baseline and progressive, colour, greyscale and CMYK files. Any error or warning of
// the decoder (a truncated or damaged file among them) refuses the file with EPictureError.
QImage ReadJpegFile(const QString& path);

// The decoding step of ReadJpegFile on bytes already in memory: a null image when refused.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);
