// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/fuzz_inputs.h"
#include "platform/jpeg_file.h"

void FuzzPicture(const std::uint8_t* data, std::size_t size) {
  const QImage image = DecodeJpeg(data, size);
  if (!image.isNull()) {
    // Touch the corners: a picture said to be decoded must be whole.
    (void)image.pixel(0, 0);
    (void)image.pixel(image.width() - 1, image.height() - 1);
  }
}
