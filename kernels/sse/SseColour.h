// Tessolk's half of the conversion out: inverse-table lookups one value at
// a time and the PIXEL_YC interleave with SSE2 only. The 16-bit arithmetic
// is the shared one.
#pragma once
#include <emmintrin.h>
#include <stdint.h>

#include "kernels/common/KernelColour.h"

namespace tessolk {

// 24 rounded linear values (eight columns × B, G, R, each already clamped to
// 0..65535) to eight PIXEL_YC at `out` (24 int16, 16-byte aligned).
inline void PixelsOfLinear(const int32_t linear[24], const int16_t *fromLinear, int16_t *out) {
    alignas(16) int16_t codes[3][8];
    for (int c = 0; c < 8; ++c)
        for (int ch = 0; ch < 3; ++ch) codes[ch][c] = fromLinear[linear[3 * c + ch] & 0xFFFF];
    __m128i y, cb, cr;
    kernel_colour::YccOfCodes(_mm_load_si128(reinterpret_cast<const __m128i *>(codes[0])),
                              _mm_load_si128(reinterpret_cast<const __m128i *>(codes[1])),
                              _mm_load_si128(reinterpret_cast<const __m128i *>(codes[2])), y,
                              cb, cr);
    alignas(16) int16_t ycc[3][8];
    _mm_store_si128(reinterpret_cast<__m128i *>(ycc[0]), y);
    _mm_store_si128(reinterpret_cast<__m128i *>(ycc[1]), cb);
    _mm_store_si128(reinterpret_cast<__m128i *>(ycc[2]), cr);
    for (int c = 0; c < 8; ++c)
        for (int ch = 0; ch < 3; ++ch) out[3 * c + ch] = ycc[ch][c];
}

}  // namespace tessolk
