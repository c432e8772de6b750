// Tessolk's Process: the shared tile walk with SSE2 pixel work, four floats
// at a time.
#include <emmintrin.h>

#include "kernels/common/TileWalk.h"
#include "kernels/sse/SseColour.h"
#include "kernels/sse/SseFilter.h"
#include "kernels/sse/Tessolk.h"

namespace tessolk {
namespace {

struct SseKernel {
    // Out of line: inlined into the tile walk, its row pointers spill.
    __attribute__((noinline)) static void Convert(const uint8_t *const rows[4],
                                                  const kernel_geometry::SourceBounds &src,
                                                  int32_t column, int32_t pairs,
                                                  const float *toLinear, float *strip) {
        kernel_tiles::ConvertPairs(rows, src, column, pairs, toLinear, strip);
    }

    static void Column(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                       __m128 &s2) {
        FilterColumn(x, w, n, s0, s1, s2);
    }

    // Three blocks of eight floats (B G R B G R B G, ...), each with its own
    // tap loop.
    static void Group(const uint8_t *x, const float *w, int32_t n, const int16_t *fromLinear,
                      int16_t *pixels) {
        alignas(16) int32_t linear[24];
        for (int b = 0; b < 3; ++b) {
            __m128 lo, hi;
            FilterBlock(x + 32 * b, w, n, lo, hi);
            RoundLinear(lo, hi, linear + 8 * b);
        }
        PixelsOfLinear(linear, fromLinear, pixels);
    }
};

}  // namespace

void MV_CDECL Process(void *dst, const void *src, LinearFilterContext *context,
                      int32_t threadIndex, int32_t) {
    kernel_tiles::ProcessTiles<SseKernel>(dst, src, *context, threadIndex);
}

}  // namespace tessolk
