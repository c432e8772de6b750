// The two convolutions with SSE2. Every lane sums weight × value in tap
// order starting from 0, each product rounded to float before its add; two
// taps per iteration and a single-tap remainder, which does not change the
// order. Functions of the SSE2 build only: Varnoth has its own.
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
// (12 floats, 48 bytes per column), `n` >= 1 taps. The loops walk the
// weights to their end, three general registers in all.
inline void FilterColumn(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                         __m128 &s2) {
    constexpr int32_t step = kernel_geometry::ColumnBytes;
    const float *const end = w + n;
    s0 = s1 = s2 = _mm_setzero_ps();
    for (; end - w >= 2; w += 2, x += 2 * step) {
        const __m128 w0 = _mm_set1_ps(w[0]), w1 = _mm_set1_ps(w[1]);
        s0 = AddTap(s0, w0, x);
        s1 = AddTap(s1, w0, x + 16);
        s2 = AddTap(s2, w0, x + 32);
        s0 = AddTap(s0, w1, x + step);
        s1 = AddTap(s1, w1, x + step + 16);
        s2 = AddTap(s2, w1, x + step + 32);
    }
    if (w != end) {
        const __m128 w0 = _mm_set1_ps(w[0]);
        s0 = AddTap(s0, w0, x);
        s1 = AddTap(s1, w0, x + 16);
        s2 = AddTap(s2, w0, x + 32);
    }
}

// Eight floats of `n` >= 1 row-buffer rows starting at `x`.
inline void FilterBlock(const uint8_t *x, const float *w, int32_t n, __m128 &lo, __m128 &hi) {
    constexpr int32_t step = kernel_geometry::RowPitch;
    const float *const end = w + n;
    lo = hi = _mm_setzero_ps();
    for (; end - w >= 2; w += 2, x += 2 * step) {
        const __m128 w0 = _mm_set1_ps(w[0]), w1 = _mm_set1_ps(w[1]);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
        lo = AddTap(lo, w1, x + step);
        hi = AddTap(hi, w1, x + step + 16);
    }
    if (w != end) {
        const __m128 w0 = _mm_set1_ps(w[0]);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
    }
}

// One output row's vertical weights, each already in all four lanes: the
// row's groups share them, and SSE2 has no broadcast from memory, so every
// group would otherwise shuffle each weight once per block. Rows with more
// taps than fit keep the plain weights.
struct SplatWeights {
    static constexpr int32_t MaxTaps = 32;
    const float *plain;
    bool splatted;
    alignas(16) float lanes[4 * MaxTaps];
    SplatWeights(const float *w, int32_t n) : plain(w), splatted(n <= MaxTaps) {
        if (!splatted) return;
        for (int32_t t = 0; t < n; ++t) _mm_store_ps(lanes + 4 * t, _mm_set1_ps(w[t]));
    }
};

// FilterBlock with weights from SplatWeights::lanes: the same products and
// sums in the same order.
inline void FilterBlockSplat(const uint8_t *x, const float *lanes, int32_t n, __m128 &lo,
                             __m128 &hi) {
    constexpr int32_t step = kernel_geometry::RowPitch;
    const float *const end = lanes + 4 * n;
    lo = hi = _mm_setzero_ps();
    for (; end - lanes >= 8; lanes += 8, x += 2 * step) {
        const __m128 w0 = _mm_load_ps(lanes), w1 = _mm_load_ps(lanes + 4);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
        lo = AddTap(lo, w1, x + step);
        hi = AddTap(hi, w1, x + step + 16);
    }
    if (lanes != end) {
        const __m128 w0 = _mm_load_ps(lanes);
        lo = AddTap(lo, w0, x);
        hi = AddTap(hi, w0, x + 16);
    }
}

inline void FilterBlock(const uint8_t *x, const SplatWeights &w, int32_t n, __m128 &lo,
                        __m128 &hi) {
    if (w.splatted)
        FilterBlockSplat(x, w.lanes, n, lo, hi);
    else
        FilterBlock(x, w.plain, n, lo, hi);
}

// Clamps eight linear sums to 0..65535 (NaN to 0) and converts them to
// integers in the current rounding mode: eight int32 at `out`, read back as
// pairs of 16-bit halves.
inline void RoundLinear(__m128 lo, __m128 hi, uint16_t *out) {
    const __m128 zero = _mm_setzero_ps(), top = _mm_set1_ps(65535.0f);
    lo = _mm_min_ps(_mm_max_ps(lo, zero), top);
    hi = _mm_min_ps(_mm_max_ps(hi, zero), top);
    _mm_store_si128(reinterpret_cast<__m128i *>(out), _mm_cvtps_epi32(lo));
    _mm_store_si128(reinterpret_cast<__m128i *>(out + 8), _mm_cvtps_epi32(hi));
}

}  // namespace tessolk
