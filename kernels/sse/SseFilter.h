// The two convolutions with SSE2. Every lane sums weight × value in tap
// order starting from 0, each product rounded to float before its add; two
// taps per iteration and a single-tap remainder, which does not change the
// order.
#pragma once
#include <emmintrin.h>
#include <stdint.h>

#include "kernels/common/KernelGeometry.h"

namespace tessolk {

inline __m128 LoadAt(const uint8_t *p) { return _mm_load_ps(reinterpret_cast<const float *>(p)); }

inline __m128 AddTap(__m128 sum, __m128 weight, const uint8_t *p) {
    return _mm_add_ps(sum, _mm_mul_ps(weight, LoadAt(p)));
}

// One destination column from the strip: `x` is the first tap's column
// (12 floats, 48 bytes per column), `n` >= 1 taps.
inline void FilterColumn(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                         __m128 &s2) {
    constexpr int32_t step = kernel_geometry::ColumnBytes;
    s0 = s1 = s2 = _mm_setzero_ps();
    int32_t k = 0;
    for (; k + 2 <= n; k += 2, x += 2 * step) {
        const __m128 w0 = _mm_set1_ps(w[k]), w1 = _mm_set1_ps(w[k + 1]);
        s0 = AddTap(s0, w0, x);
        s1 = AddTap(s1, w0, x + 16);
        s2 = AddTap(s2, w0, x + 32);
        s0 = AddTap(s0, w1, x + step);
        s1 = AddTap(s1, w1, x + step + 16);
        s2 = AddTap(s2, w1, x + step + 32);
    }
    if (k < n) {
        const __m128 w0 = _mm_set1_ps(w[k]);
        s0 = AddTap(s0, w0, x);
        s1 = AddTap(s1, w0, x + 16);
        s2 = AddTap(s2, w0, x + 32);
    }
}

// Writes a filtered column as B, G, R of four row-buffer rows. Each store
// writes a fourth float that the next column overwrites.
inline void StoreColumnRows(uint8_t *fill, __m128 s0, __m128 s1, __m128 s2) {
    constexpr int32_t pitch = kernel_geometry::RowPitch;
    _mm_storeu_ps(reinterpret_cast<float *>(fill), _mm_shuffle_ps(s0, s2, _MM_SHUFFLE(0, 0, 1, 0)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + pitch),
                  _mm_shuffle_ps(s0, s2, _MM_SHUFFLE(1, 1, 3, 2)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + 2 * pitch),
                  _mm_shuffle_ps(s1, s2, _MM_SHUFFLE(2, 2, 1, 0)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + 3 * pitch),
                  _mm_shuffle_ps(s1, s2, _MM_SHUFFLE(3, 3, 3, 2)));
}

// Eight floats of `n` >= 1 row-buffer rows starting at `x`.
inline void FilterBlock(const uint8_t *x, const float *w, int32_t n, __m128 &lo, __m128 &hi) {
    constexpr int32_t step = kernel_geometry::RowPitch;
    lo = hi = _mm_setzero_ps();
    int32_t k = 0;
    for (; k + 2 <= n; k += 2, x += 2 * step) {
        const __m128 w0 = _mm_set1_ps(w[k]), w1 = _mm_set1_ps(w[k + 1]);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
        lo = AddTap(lo, w1, x + step);
        hi = AddTap(hi, w1, x + step + 16);
    }
    if (k < n) {
        const __m128 w0 = _mm_set1_ps(w[k]);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
    }
}

}  // namespace tessolk
