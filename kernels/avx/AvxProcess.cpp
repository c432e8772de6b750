// Varnoth's Process and buffer sizes: the shared tile walk with AVX pixel
// work; with MORVANE_KERNEL_HQ VarnothHQ's, the HQ walk
// (kernels/common/HqTileWalk.h) with the same pixel work. The only
// translation unit built with -mavx.
#include <immintrin.h>

#include "kernels/avx/AvxColour.h"
#include "kernels/avx/AvxFilter.h"
#include "kernels/avx/Varnoth.h"
#include "kernels/common/KernelGeometry.h"
#include "kernels/common/TileWalk.h"
#ifdef MORVANE_KERNEL_HQ
#include "kernels/common/HqTileWalk.h"
#endif

namespace varnoth::avx {
namespace {

struct AvxKernel {
    using RowWeights = kernel_tiles::PlainWeights;  // broadcast from memory as they are

    // Out of line: inlined into the tile walk, its row pointers spill.
    __attribute__((noinline)) static void Convert(const uint8_t *const rows[4],
                                                  const kernel_geometry::SourceBounds &src,
                                                  int32_t column, int32_t pairs,
                                                  const float *toLinear, float *strip) {
        ConvertPairs(rows, src, column, pairs, toLinear, strip);
    }

    static void Column(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                       __m128 &s2) {
        FilterColumn(x, w, n, s0, s1, s2);
    }

    static void Group(const uint8_t *x, const float *w, int32_t n, const int16_t *fromLinear,
                      __m128i pixels[3]) {
        __m256 s0, s1, s2;
        FilterGroup(x, w, n, s0, s1, s2);
        PixelsOfSums(s0, s1, s2, fromLinear, pixels);
    }
};

#ifdef MORVANE_KERNEL_HQ
// Eight sums clamped into [min, max] of the row-buffer values at a and b.
inline __m256 ClampRows(__m256 v, const uint8_t *a, const uint8_t *b) {
    const __m256 x = _mm256_loadu_ps(reinterpret_cast<const float *>(a));
    const __m256 y = _mm256_loadu_ps(reinterpret_cast<const float *>(b));
    return _mm256_min_ps(_mm256_max_ps(v, _mm256_min_ps(x, y)), _mm256_max_ps(x, y));
}

// The log indices of eight sums (HqTables.h), packed to 16 bits: the float
// part on eight lanes, the integer part on two halves of four (AVX has no
// 256-bit integer shift).
inline __m128i LogIndices(__m256 v) {
    const __m256 top = _mm256_set1_ps(kernel_hq::LogIndexTop);
    v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), top);
    v = _mm256_add_ps(v, _mm256_set1_ps(1.0f));
    return _mm_packus_epi32(kernel_tiles::LogIndexOfFloat(_mm256_castps256_ps128(v)),
                            kernel_tiles::LogIndexOfFloat(_mm256_extractf128_ps(v, 1)));
}

// VarnothHQ: Group with the vertical clamp and log indices.
struct AvxHqKernel : AvxKernel {
    template <bool Clamp>
    static void GroupHq(const uint8_t *x, const float *w, int32_t n, const uint8_t *a,
                        const uint8_t *b, const int16_t *fromIndex, __m128i pixels[3]) {
        __m256 s0, s1, s2;
        FilterGroup(x, w, n, s0, s1, s2);
        if (Clamp) {
            s0 = ClampRows(s0, a, b);
            s1 = ClampRows(s1, a + 32, b + 32);
            s2 = ClampRows(s2, a + 64, b + 64);
        }
        PixelsOfIndexWords(LogIndices(s0), LogIndices(s1), LogIndices(s2), fromIndex, pixels);
    }
};
#endif

}  // namespace

int32_t MV_CDECL GetStripBufferSize(LinearFilterContext *context, int32_t) {
    return kernel_geometry::StripBufferBytes(*context);
}

int32_t MV_CDECL GetRowBufferSize(LinearFilterContext *context, int32_t maxRadius) {
    return kernel_geometry::RowBufferBytes(*context, maxRadius);
}

void MV_CDECL Process(void *dst, const void *src, LinearFilterContext *context, int32_t threadIndex,
                      int32_t) {
    // The caller's code may have left the upper ymm halves dirty, and ours
    // must leave them clean: mixing with legacy SSE code costs dearly.
    _mm256_zeroupper();
#ifdef MORVANE_KERNEL_HQ
    kernel_tiles::ProcessTilesHq<AvxHqKernel>(dst, src, *context, threadIndex);
#else
    kernel_tiles::ProcessTiles<AvxKernel>(dst, src, *context, threadIndex);
#endif
    _mm256_zeroupper();
}

}  // namespace varnoth::avx
