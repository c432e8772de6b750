// Tessolk's Process: the shared tile walk with SSE2 pixel work, four floats
// at a time; with MORVANE_KERNEL_HQ TessolkHQ's, the HQ walk
// (kernels/common/HqTileWalk.h) with the same pixel work.
#include <emmintrin.h>

#include "kernels/common/TileWalk.h"
#include "kernels/sse/SseColour.h"
#include "kernels/sse/SseFilter.h"
#include "kernels/sse/Tessolk.h"
#ifdef MORVANE_KERNEL_HQ
#include "kernels/common/HqTileWalk.h"
#endif

namespace tessolk {
namespace {

// The pairs that the edge of the image or of the frame cuts: one or four
// per batch, out of line so that their four row pointers stay out of the
// registers of the loop over whole pairs.
__attribute__((noinline)) void ConvertCutPairs(const uint8_t *const rows[4],
                                               const kernel_geometry::SourceBounds &src,
                                               int32_t column, int32_t pairs, const float *toLinear,
                                               float *strip) {
    kernel_tiles::ConvertPairs(rows, src, column, pairs, toLinear, strip);
}

struct SseKernel {
    // Out of line: inlined into the tile walk, its row pointers spill. Rows
    // an equal pitch apart (all but the frame's last group) walk one pointer;
    // a last column pair cut by the image's edge (its second column repeats
    // the first) takes the shared path, which reads each pixel alone.
    __attribute__((noinline)) static void Convert(const uint8_t *const rows[4],
                                                  const kernel_geometry::SourceBounds &src,
                                                  int32_t column, int32_t pairs,
                                                  const float *toLinear, float *strip) {
        const ptrdiff_t pitch = rows[1] - rows[0];
        int32_t whole = 0;
        if (rows[2] - rows[1] == pitch && rows[3] - rows[2] == pitch) {
            whole = src.lastColumn > column ? (src.lastColumn - column + 1) / 2 : 0;
            if (whole > pairs) whole = pairs;
            const uint8_t *p = rows[0] + ptrdiff_t{column} * kernel_geometry::PixelBytes;
            for (int32_t k = 0; k < whole; ++k, p += 2 * kernel_geometry::PixelBytes, strip += 24)
                ConvertNeighbours(p, pitch, toLinear, strip);
        }
        if (whole < pairs)
            ConvertCutPairs(rows, src, column + 2 * whole, pairs - whole, toLinear, strip);
    }

    static void Column(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                       __m128 &s2) {
        FilterColumn(x, w, n, s0, s1, s2);
    }

    using RowWeights = SplatWeights;

    // Three blocks of eight floats (B G R B G R B G, ...), each with its own
    // tap loop; their rounded values wait on the stack as table indices.
    static void Group(const uint8_t *x, const SplatWeights &w, int32_t n, const int16_t *fromLinear,
                      __m128i pixels[3]) {
        alignas(16) uint16_t index[48];
        for (int b = 0; b < 3; ++b) {
            __m128 lo, hi;
            FilterBlock(x + 32 * b, w, n, lo, hi);
            RoundLinear(lo, hi, index + 16 * b);
        }
        PixelsOfIndices(index, fromLinear, pixels);
    }
};

#ifdef MORVANE_KERNEL_HQ
// TessolkHQ: Group with the vertical clamp and log indices, stored as
// RoundLinear stores its integers.
struct SseHqKernel : SseKernel {
    template <bool Clamp>
    static void GroupHq(const uint8_t *x, const SplatWeights &w, int32_t n, const uint8_t *a,
                        const uint8_t *b, const int16_t *fromIndex, __m128i pixels[3]) {
        alignas(16) uint16_t index[48];
        for (int k = 0; k < 3; ++k) {
            __m128 lo, hi;
            FilterBlock(x + 32 * k, w, n, lo, hi);
            if (Clamp) {
                const uint8_t *ak = a + 32 * k, *bk = b + 32 * k;
                lo = kernel_tiles::ClampBetween(lo, LoadAt(ak), LoadAt(bk));
                hi = kernel_tiles::ClampBetween(hi, LoadAt(ak + 16), LoadAt(bk + 16));
            }
            __m128i *to = reinterpret_cast<__m128i *>(index + 16 * k);
            _mm_store_si128(to, kernel_tiles::LogIndexOfFloat(kernel_tiles::LogIndexFloat(lo)));
            _mm_store_si128(to + 1, kernel_tiles::LogIndexOfFloat(kernel_tiles::LogIndexFloat(hi)));
        }
        PixelsOfIndices(index, fromIndex, pixels);
    }
};
#endif

}  // namespace

void MV_CDECL Process(void *dst, const void *src, LinearFilterContext *context, int32_t threadIndex,
                      int32_t) {
#ifdef MORVANE_KERNEL_HQ
    kernel_tiles::ProcessTilesHq<SseHqKernel>(dst, src, *context, threadIndex);
#else
    kernel_tiles::ProcessTiles<SseKernel>(dst, src, *context, threadIndex);
#endif
}

}  // namespace tessolk
