// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// What the processor offers beyond portable code, each with its portable stand-in.

// Inlined even where the compiler would not on its own: the bodies of the hot loops, which the
// AVX2 and the portable paths share.
#if defined(__GNUC__) || defined(__clang__)
#define SIMHACHEUR_ALWAYS_INLINE [[gnu::always_inline]] inline
#elif defined(_MSC_VER)
#define SIMHACHEUR_ALWAYS_INLINE __forceinline
#else
#define SIMHACHEUR_ALWAYS_INLINE inline
#endif

// Code paths compiled for AVX2 beside the portable ones, taken when the processor has it. A
// portable build (SIMHACHEUR_PORTABLE) compiles the portable paths only.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(SIMHACHEUR_PORTABLE)
#define SIMHACHEUR_AVX2_PATHS 1

inline bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// Asks for `bytes` from `data` on to be brought close to the processor while other work goes
// on, as data read once (so as not to push out of the caches what is kept there longer, such
// as the image being drawn); a hint only, and nothing where the compiler has no way to give it.
inline void PrefetchForRead(const void* data, std::size_t bytes) {
#if defined(__GNUC__)
  const char* p = static_cast<const char*>(data);
  for (std::size_t offset = 0; offset < bytes; offset += 64)
    __builtin_prefetch(p + offset, 0, 0);
#else
  (void)data;
  (void)bytes;
#endif
}
