// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/axis/axis_map.h"
#include "platform/cpu_features.h"

#ifdef SIMHACHEUR_AVX2_PATHS
#include <immintrin.h>
#endif

namespace {

// Values are mapped in blocks of this many: a loop whose trip count is a multiple of the vector
// width is one that the compiler vectorises at -O2.
constexpr int kBlock = 16;

// Values are fetched this far ahead of the block being mapped: a caller that maps two arrays
// a block at a time, alternately (a series its X and its Y values), keeps jumping from one to
// the other, and the processor's own prefetching starts afresh at each jump.
constexpr int kAhead = 256;

// ValueToPixel on a linear axis with a span, every step in doubles so that a block goes
// through the vector unit: the rounded offset is below 2^31 and the pixel sum below 2^33, both
// exact; far values are sent to the centre before any conversion to int.
struct ExactPixels {
  double min, length, span;
  double base, sign;  // the pixel of RangeMin, and the direction values grow in
  double center;

  explicit ExactPixels(const TAxisMap& m)
      : min(m.RangeMin()),
        length(static_cast<double>(m.PixelEnd()) - m.PixelStart()),
        span(m.RangeSpan()),
        base(m.Horizontal() != m.Inverted() ? m.PixelStart() : m.PixelEnd()),
        sign(m.Horizontal() != m.Inverted() ? 1.0 : -1.0),
        center(m.PixelCenter()) {}

  int operator()(double value) const {
    const double t = (value - min) * length / span;
    double p = base + sign * RoundHalfEven(t);
    p = p < -2147483648.0 ? -2147483648.0 : p;
    p = p > 2147483647.0 ? 2147483647.0 : p;
    return static_cast<int>(std::fabs(t) < 2147483647.0 ? p : center);
  }
};

// The same pixels with one multiplication by length / span instead of the division. Product
// and quotient each round twice, so they differ by less than 2^-50 of their size: less than
// 2^-20 of a pixel while the offset stays below 2^30. An offset further than 2^-19 from every
// half pixel therefore rounds as the quotient does; the others (ties among them) and far
// values are left to the exact formula. The span is kept within bounds where neither formula
// overflows or loses bits to underflow, and the offset within bounds where the pixel needs no
// clamping.
struct FastPixels {
  double min, factor, base, limit;

  static bool Applies(const TAxisMap& m) {
    const double span = std::fabs(m.RangeSpan());
    return !m.Logarithmic() && std::isfinite(m.RangeMin()) && span >= 0x1p-900 && span <= 0x1p990;
  }
  explicit FastPixels(const ExactPixels& e)
      : min(e.min),
        factor(e.sign * (e.length / e.span)),
        base(e.base),
        limit(std::fmin(0x1p30, 2147483646.0 - std::fabs(e.base))) {}

  // A block of pixels, a value that needs the exact formula marked by INT_MIN, which the
  // fast formula never gives.
  SIMHACHEUR_ALWAYS_INLINE void Block(const double* values, double multiplier, int* pixels) const {
    for (int k = 0; k < kBlock; ++k) {
      const double t = (values[k] * multiplier - min) * factor;
      const double r = RoundHalfEven(t);
      // Clear of half pixels and of the limit (NaN is neither), both tested without a branch.
      const bool good = (std::fabs(t - r) < 0.5 - 0x1p-19) & (std::fabs(t) < limit);
      // Bounded before conversion, though a good pixel needs it not, so that the compiler
      // knows the conversion cannot overflow and keeps the loop in vectors.
      double p = base + r;
      p = p < -2147483647.0 ? -2147483647.0 : p;
      p = p > 2147483647.0 ? 2147483647.0 : p;
      pixels[k] = static_cast<int>(good ? p : -2147483648.0);
    }
  }
};

SIMHACHEUR_ALWAYS_INLINE void ExactBlock(const ExactPixels& exact, const double* values,
                                         double multiplier, int* pixels) {
  for (int k = 0; k < kBlock; ++k)
    pixels[k] = exact(values[k] * multiplier);
}

// The fast formula a block at a time, as the compiler vectorises it for any processor.
struct PortableBlock {
  const FastPixels& fast;
  SIMHACHEUR_ALWAYS_INLINE void operator()(const double* values, double multiplier,
                                           int* pixels) const {
    fast.Block(values, multiplier, pixels);
  }
};

#ifdef SIMHACHEUR_AVX2_PATHS
#define SIMHACHEUR_AVX2_INLINE [[gnu::target("avx2"), gnu::always_inline]] inline

// The fast formula in AVX2 instructions, four values a step: their conversion gives INT_MIN
// itself for what is out of range, so the pixels need no bounds and the tests no detour.
struct Avx2Pixels {
  __m256d m, min, factor, base, shift, clear, limit, magnitude, marker;

  SIMHACHEUR_AVX2_INLINE Avx2Pixels(const FastPixels& fast, double multiplier)
      : m(_mm256_set1_pd(multiplier)),
        min(_mm256_set1_pd(fast.min)),
        factor(_mm256_set1_pd(fast.factor)),
        base(_mm256_set1_pd(fast.base)),
        shift(_mm256_set1_pd(6755399441055744.0)),  // as RoundHalfEven
        clear(_mm256_set1_pd(0.5 - 0x1p-19)),
        limit(_mm256_set1_pd(fast.limit)),
        magnitude(_mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF))),
        marker(_mm256_set1_pd(-2147483648.0)) {}

  // The pixels as doubles, and which of them the formula places exactly.
  SIMHACHEUR_AVX2_INLINE __m256d Pixels(const double* values, __m256d& good) const {
    const __m256d v = _mm256_mul_pd(_mm256_loadu_pd(values), m);
    const __m256d t = _mm256_mul_pd(_mm256_sub_pd(v, min), factor);
    const __m256d r = _mm256_sub_pd(_mm256_add_pd(t, shift), shift);
    const __m256d offHalf = _mm256_and_pd(_mm256_sub_pd(t, r), magnitude);
    good = _mm256_and_pd(_mm256_cmp_pd(offHalf, clear, _CMP_LT_OQ),
                         _mm256_cmp_pd(_mm256_and_pd(t, magnitude), limit, _CMP_LT_OQ));
    return _mm256_add_pd(base, r);
  }
  // The pixels, INT_MIN where the exact formula is needed.
  SIMHACHEUR_AVX2_INLINE __m128i Four(const double* values) const {
    __m256d good;
    const __m256d p = Pixels(values, good);
    return _mm256_cvttpd_epi32(_mm256_blendv_pd(marker, p, good));
  }
};

struct Avx2Block {
  const FastPixels& fast;
  [[gnu::target("avx2")]] void operator()(const double* values, double multiplier,
                                          int* pixels) const {
    const Avx2Pixels formula(fast, multiplier);
    for (int k = 0; k < kBlock; k += 4)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + k), formula.Four(values + k));
  }
};
#endif

// Whole blocks through the fast formula, then the values it marked through the exact one: a
// scan after the last block, which reads what the stores left in the cache instead of
// waiting on each block's.
template <class FastBlock>
SIMHACHEUR_ALWAYS_INLINE int MapFast(const ExactPixels& exact, const FastBlock& fastBlock,
                                     const double* values, double multiplier, int* pixels,
                                     int count) {
  int end = 0;
  for (; end + kBlock <= count; end += kBlock) {
    PrefetchForRead(values + end + kAhead, kBlock * sizeof(double));
    fastBlock(values + end, multiplier, pixels + end);
  }
  constexpr int kMarker = std::numeric_limits<int>::min();
  for (int i = 0; i < end; i += kBlock) {
    const int* block = pixels + i;
    int marked = 0;
    for (int k = 0; k < kBlock; ++k)
      marked |= block[k] == kMarker ? 1 : 0;
    if (marked == 0) continue;
    for (int k = i; k < i + kBlock; ++k) {
      if (pixels[k] == kMarker) pixels[k] = exact(values[k] * multiplier);
    }
  }
  return end;
}

template <class FastBlock>
SIMHACHEUR_ALWAYS_INLINE void MapBlocks(const ExactPixels& exact, const FastBlock* fastBlock,
                                        const double* values, double multiplier, int* pixels,
                                        int count) {
  int i = 0;
  if (fastBlock != nullptr) {
    i = MapFast(exact, *fastBlock, values, multiplier, pixels, count);
  } else {
    for (; i + kBlock <= count; i += kBlock)
      ExactBlock(exact, values + i, multiplier, pixels + i);
  }
  for (; i < count; ++i)
    pixels[i] = exact(values[i] * multiplier);
}

// `fast` when it applies, or only the exact formula.
void MapPortable(const ExactPixels& exact, const FastPixels& fast, bool applies,
                 const double* values, double multiplier, int* pixels, int count) {
  const PortableBlock block{fast};
  MapBlocks(exact, applies ? &block : nullptr, values, multiplier, pixels, count);
}

#ifdef SIMHACHEUR_AVX2_PATHS
// Four doubles a vector instead of two; no fused multiply-add, which would round differently.
[[gnu::target("avx2")]] void MapAvx2(const ExactPixels& exact, const FastPixels& fast, bool applies,
                                     const double* values, double multiplier, int* pixels,
                                     int count) {
  const Avx2Block block{fast};
  MapBlocks(exact, applies ? &block : nullptr, values, multiplier, pixels, count);
}
#endif

// A pixel run as it grows, with the pixel last added.
struct RunSoFar {
  TAxisMap::PixelRun run;
  int mark, last;

  SIMHACHEUR_ALWAYS_INLINE void Add(int pixel) {
    run.lowest = std::min(run.lowest, pixel);
    run.highest = std::max(run.highest, pixel);
    const bool change = pixel != last;
    run.changes += change ? 1 : 0;
    run.leaves += change && last == mark ? 1 : 0;
    last = pixel;
  }
};

// The same kept lane by lane over blocks of pixels, so that adding a block stays in vectors;
// folded into the run at the end.
struct RunLanes {
  int lowest[kBlock], highest[kBlock], repeats[kBlock], leaves[kBlock];
  int pixels[kBlock + 1];  // the pixel before the block, then the block's own
  int mark;

  RunLanes(int before, int markPixel) : mark(markPixel) {
    for (int k = 0; k < kBlock; ++k) {
      lowest[k] = std::numeric_limits<int>::max();
      highest[k] = std::numeric_limits<int>::min();
      repeats[k] = leaves[k] = 0;
    }
    pixels[kBlock] = before;
  }
  // Where the next block's pixels go.
  SIMHACHEUR_ALWAYS_INLINE int* Next() {
    pixels[0] = pixels[kBlock];
    return pixels + 1;
  }
  SIMHACHEUR_ALWAYS_INLINE void Add() {
    for (int k = 0; k < kBlock; ++k) {
      const int p = pixels[k + 1], before = pixels[k];
      lowest[k] = std::min(lowest[k], p);
      highest[k] = std::max(highest[k], p);
      repeats[k] += p == before ? 1 : 0;
      leaves[k] += ((p != before) & (before == mark)) ? 1 : 0;
    }
  }
  RunSoFar Fold(int count) const {
    RunSoFar r{{}, mark, pixels[kBlock]};
    int repeated = 0;
    for (int k = 0; k < kBlock; ++k) {
      r.run.lowest = std::min(r.run.lowest, lowest[k]);
      r.run.highest = std::max(r.run.highest, highest[k]);
      r.run.leaves += leaves[k];
      repeated += repeats[k];
    }
    r.run.changes = count - repeated;
    return r;
  }
};

// The values the fast formula marked in one block, through the exact one.
SIMHACHEUR_ALWAYS_INLINE void ResolveMarked(const ExactPixels& exact, const double* values,
                                            double multiplier, int* pixels) {
  constexpr int kMarker = std::numeric_limits<int>::min();
  int marked = 0;
  for (int k = 0; k < kBlock; ++k)
    marked |= pixels[k] == kMarker ? 1 : 0;
  if (marked == 0) [[likely]]
    return;
  for (int k = 0; k < kBlock; ++k) {
    if (pixels[k] == kMarker) pixels[k] = exact(values[k] * multiplier);
  }
}

// The last values of a run, `count` of them, then copies of the last one up to `size`: the
// copies repeat the last pixel, which changes neither bounds nor changes nor departures, so a
// run can end with a whole block instead of value by value.
SIMHACHEUR_ALWAYS_INLINE void PadWithLast(const double* values, int count, double* padded,
                                          int size) {
  for (int k = 0; k < size; ++k)
    padded[k] = values[std::min(k, count - 1)];
}

template <class FastBlock>
SIMHACHEUR_ALWAYS_INLINE TAxisMap::PixelRun RunOf(const ExactPixels& exact,
                                                  const FastBlock* fastBlock, const double* values,
                                                  double multiplier, int count, int before,
                                                  int mark) {
  RunLanes lanes(before, mark);
  const auto add = [&](const double* block) {
    int* pixels = lanes.Next();
    if (fastBlock != nullptr) {
      (*fastBlock)(block, multiplier, pixels);
      ResolveMarked(exact, block, multiplier, pixels);
    } else {
      ExactBlock(exact, block, multiplier, pixels);
    }
    lanes.Add();
  };
  int i = 0;
  for (; i + kBlock <= count; i += kBlock) {
    PrefetchForRead(values + i + kAhead, kBlock * sizeof(double));
    add(values + i);
  }
  if (i < count) {
    double padded[kBlock];
    PadWithLast(values + i, count - i, padded, kBlock);
    add(padded);
    i += kBlock;
  }
  return lanes.Fold(i).run;
}

TAxisMap::PixelRun RunPortable(const ExactPixels& exact, const FastPixels& fast, bool applies,
                               const double* values, double multiplier, int count, int before,
                               int mark) {
  const PortableBlock block{fast};
  return RunOf(exact, applies ? &block : nullptr, values, multiplier, count, before, mark);
}

#ifdef SIMHACHEUR_AVX2_PATHS
// The same as RunLanes, eight pixels a step held in registers: each pixel compared with the
// one before it (the last lane of the step before, rotated in).
struct Avx2RunLanes {
  __m256i mark, lowest, highest, repeats, leaves;
  __m256i rotatedBefore;  // lane 0: the pixel before the step

  SIMHACHEUR_AVX2_INLINE Avx2RunLanes(int before, int markPixel)
      : mark(_mm256_set1_epi32(markPixel)),
        lowest(_mm256_set1_epi32(std::numeric_limits<int>::max())),
        highest(_mm256_set1_epi32(std::numeric_limits<int>::min())),
        repeats(_mm256_setzero_si256()),
        leaves(_mm256_setzero_si256()),
        rotatedBefore(_mm256_set1_epi32(before)) {}

  SIMHACHEUR_AVX2_INLINE void Add(__m256i p) {
    const __m256i rotated =
        _mm256_permutevar8x32_epi32(p, _mm256_setr_epi32(7, 0, 1, 2, 3, 4, 5, 6));
    const __m256i before = _mm256_blend_epi32(rotated, rotatedBefore, 1);
    const __m256i repeat = _mm256_cmpeq_epi32(p, before);
    repeats = _mm256_sub_epi32(repeats, repeat);
    leaves =
        _mm256_sub_epi32(leaves, _mm256_andnot_si256(repeat, _mm256_cmpeq_epi32(before, mark)));
    lowest = _mm256_min_epi32(lowest, p);
    highest = _mm256_max_epi32(highest, p);
    rotatedBefore = rotated;
  }
  SIMHACHEUR_AVX2_INLINE RunSoFar Fold(int count) const {
    alignas(32) int lanes[4][8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[0]), lowest);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[1]), highest);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[2]), repeats);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[3]), leaves);
    RunSoFar r{{}, _mm256_cvtsi256_si32(mark), _mm256_cvtsi256_si32(rotatedBefore)};
    int repeated = 0;
    for (int k = 0; k < 8; ++k) {
      r.run.lowest = std::min(r.run.lowest, lanes[0][k]);
      r.run.highest = std::max(r.run.highest, lanes[1][k]);
      repeated += lanes[2][k];
      r.run.leaves += lanes[3][k];
    }
    r.run.changes = count - repeated;
    return r;
  }
};

// Eight pixels, through the exact formula where the fast one is not sure of one.
SIMHACHEUR_AVX2_INLINE __m256i EightPixels(const Avx2Pixels& formula, const ExactPixels& exact,
                                           const double* values, double multiplier) {
  __m256d goodLow, goodHigh;
  const __m128i low = _mm256_cvttpd_epi32(formula.Pixels(values, goodLow));
  const __m128i high = _mm256_cvttpd_epi32(formula.Pixels(values + 4, goodHigh));
  if (_mm256_movemask_pd(_mm256_and_pd(goodLow, goodHigh)) == 0xF) [[likely]]
    return _mm256_set_m128i(high, low);
  alignas(32) int pixels[8];
  for (int k = 0; k < 8; ++k)
    pixels[k] = exact(values[k] * multiplier);
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(pixels));
}

[[gnu::target("avx2")]] TAxisMap::PixelRun RunAvx2(const ExactPixels& exact, const FastPixels& fast,
                                                   bool applies, const double* values,
                                                   double multiplier, int count, int before,
                                                   int mark) {
  if (!applies) return RunOf<Avx2Block>(exact, nullptr, values, multiplier, count, before, mark);
  const Avx2Pixels formula(fast, multiplier);
  Avx2RunLanes lanes(before, mark);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    PrefetchForRead(values + i + kAhead, 8 * sizeof(double));
    lanes.Add(EightPixels(formula, exact, values + i, multiplier));
  }
  if (i < count) {
    alignas(32) double padded[8];
    PadWithLast(values + i, count - i, padded, 8);
    lanes.Add(EightPixels(formula, exact, padded, multiplier));
    i += 8;
  }
  return lanes.Fold(i).run;
}
#endif

}  // namespace

void TAxisMap::ValuesToPixels(const double* values, double multiplier, int* pixels,
                              int count) const {
  if (logarithmic_ || span_ == 0) {
    for (int i = 0; i < count; ++i)
      pixels[i] = ValueToPixel(values[i] * multiplier);
    return;
  }
  const ExactPixels exact(*this);
  const FastPixels fast(exact);
  const bool applies = FastPixels::Applies(*this);
#ifdef SIMHACHEUR_AVX2_PATHS
  if (HasAvx2()) {
    MapAvx2(exact, fast, applies, values, multiplier, pixels, count);
    return;
  }
#endif
  MapPortable(exact, fast, applies, values, multiplier, pixels, count);
}

TAxisMap::PixelRun TAxisMap::RunOfPixels(const double* values, double multiplier, int count,
                                         int before, int mark) const {
  if (logarithmic_ || span_ == 0) {
    RunSoFar r{{}, mark, before};
    for (int i = 0; i < count; ++i)
      r.Add(ValueToPixel(values[i] * multiplier));
    return r.run;
  }
  const ExactPixels exact(*this);
  const FastPixels fast(exact);
  const bool applies = FastPixels::Applies(*this);
#ifdef SIMHACHEUR_AVX2_PATHS
  if (HasAvx2()) return RunAvx2(exact, fast, applies, values, multiplier, count, before, mark);
#endif
  return RunPortable(exact, fast, applies, values, multiplier, count, before, mark);
}
