// Varnoth's Process and buffer sizes: the shared tile walk with AVX pixel
// work. The only translation unit built with -mavx.
#include <immintrin.h>

#include "kernels/avx/AvxColour.h"
#include "kernels/avx/AvxFilter.h"
#include "kernels/avx/Varnoth.h"
#include "kernels/common/KernelGeometry.h"
#include "kernels/common/TileWalk.h"

namespace varnoth::avx {
namespace {

struct AvxKernel {
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
    kernel_tiles::ProcessTiles<AvxKernel>(dst, src, *context, threadIndex);
    _mm256_zeroupper();
}

}  // namespace varnoth::avx
