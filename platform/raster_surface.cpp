// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_surface.h"

#include <cstring>

#include "platform/cpu_features.h"

#ifdef SIMHACHEUR_AVX2_PATHS
#include <immintrin.h>
#endif

namespace raster {
namespace {

// Fixed-size memcpy of a 64-byte block becomes wide stores on any target.
void FillPortable(std::uint32_t* pixels, qsizetype count, std::uint32_t value) {
  std::uint32_t block[16];
  std::fill(block, block + 16, value);
  qsizetype i = 0;
  for (; i + 16 <= count; i += 16)
    std::memcpy(pixels + i, block, sizeof block);
  for (; i < count; ++i)
    pixels[i] = value;
}

#ifdef SIMHACHEUR_AVX2_PATHS
// Four 32-byte stores a turn: what QPainter's own fill does, and as fast (the portable loop
// measures some 20 % slower on a full screen).
[[gnu::target("avx2")]] void FillAvx2(std::uint32_t* pixels, qsizetype count, std::uint32_t value) {
  const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
  qsizetype i = 0;
  for (; i + 32 <= count; i += 32) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i + 8), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i + 16), v);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i + 24), v);
  }
  for (; i < count; ++i)
    pixels[i] = value;
}

#endif

}  // namespace

void FillPixels(std::uint32_t* pixels, qsizetype count, std::uint32_t value) {
#ifdef SIMHACHEUR_AVX2_PATHS
  if (count >= 32 && HasAvx2()) {
    FillAvx2(pixels, count, value);
    return;
  }
#endif
  FillPortable(pixels, count, value);
}

}  // namespace raster
