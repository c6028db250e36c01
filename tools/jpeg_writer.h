// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

class QImage;

// Encodes an image as a baseline JPEG file through libjpeg. Transparent pixels are laid on white
// first, since JPEG has no alpha. Throws std::runtime_error when the file cannot be written.
void WriteJpeg(const QImage& image, const std::filesystem::path& path, int quality = 92);
