#include <cmath>
#include <limits>

#include "chart/axis_map.h"
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
// The same in AVX2 instructions: their conversion gives INT_MIN itself for what is out of
// range, so the pixels need no bounds and the tests no detour.
struct Avx2Block {
  const FastPixels& fast;
  [[gnu::target("avx2")]] void operator()(const double* values, double multiplier,
                                          int* pixels) const {
    const __m256d m = _mm256_set1_pd(multiplier), min = _mm256_set1_pd(fast.min);
    const __m256d factor = _mm256_set1_pd(fast.factor), base = _mm256_set1_pd(fast.base);
    const __m256d shift = _mm256_set1_pd(6755399441055744.0);  // as RoundHalfEven
    const __m256d clear = _mm256_set1_pd(0.5 - 0x1p-19), limit = _mm256_set1_pd(fast.limit);
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    const __m256d marker = _mm256_set1_pd(-2147483648.0);
    for (int k = 0; k < kBlock; k += 4) {
      const __m256d v = _mm256_mul_pd(_mm256_loadu_pd(values + k), m);
      const __m256d t = _mm256_mul_pd(_mm256_sub_pd(v, min), factor);
      const __m256d r = _mm256_sub_pd(_mm256_add_pd(t, shift), shift);
      const __m256d offHalf = _mm256_and_pd(_mm256_sub_pd(t, r), magnitude);
      const __m256d good =
          _mm256_and_pd(_mm256_cmp_pd(offHalf, clear, _CMP_LT_OQ),
                        _mm256_cmp_pd(_mm256_and_pd(t, magnitude), limit, _CMP_LT_OQ));
      const __m256d p = _mm256_blendv_pd(marker, _mm256_add_pd(base, r), good);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + k), _mm256_cvttpd_epi32(p));
    }
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
