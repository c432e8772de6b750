// The two convolutions with AVX, eight floats at a time. Every product is
// rounded to float before its add (no fused multiply-add).
//
// Horizontally the taps go in pairs, even tap 2m and odd tap 2m + 1, whose
// strip columns lie 48 bytes apart (three vectors of four floats, V0 V1 V2):
//   P += w(even) × V0 V1 of the even column
//   Q += w(odd)  × V1 V2 of the odd column
//   S += (w(even) low, w(odd) high) × V2 of the even, V0 of the odd column
// so each output float is E + O, the sums of the pairs' even and of their
// odd taps, each in tap order; an odd last tap is added to that. Vertically
// every lane sums in plain tap order, as Tessolk does.
//
// Included only by translation units compiled with -mavx.
#pragma once
#include <immintrin.h>
#include <stdint.h>

#include "kernels/common/KernelGeometry.h"

namespace varnoth::avx {

inline __m256 AddProduct(__m256 sum, __m256 w, const uint8_t *p) {
    const __m256 x = _mm256_loadu_ps(reinterpret_cast<const float *>(p));
    return _mm256_add_ps(sum, _mm256_mul_ps(w, x));
}

inline __m128 AddProduct(__m128 sum, __m128 w, const uint8_t *p) {
    const __m128 x = _mm_loadu_ps(reinterpret_cast<const float *>(p));
    return _mm_add_ps(sum, _mm_mul_ps(w, x));
}

// Sums of one destination column over its tap pairs.
struct PairSums {
    __m256 p, q, s;
};

// The pair whose even tap's column is at `x`, weights w[0] (even), w[1] (odd).
inline void AddPair(PairSums &a, const uint8_t *x, const float *w) {
    const __m256 even = _mm256_broadcast_ss(w), odd = _mm256_broadcast_ss(w + 1);
    a.p = AddProduct(a.p, even, x);
    a.q = AddProduct(a.q, odd, x + 64);
    a.s = AddProduct(a.s, _mm256_blend_ps(even, odd, 0xF0), x + 32);
}

// One destination column from the strip: `x` is the first tap's column,
// `n` >= 1 taps; s0 s1 s2 in the strip's layout. The loops walk the
// weights to their end, three general registers in all.
inline void FilterColumn(const uint8_t *x, const float *w, int32_t n, __m128 &s0, __m128 &s1,
                         __m128 &s2) {
    constexpr int32_t step = kernel_geometry::ColumnBytes;
    const float *const end = w + n;
    PairSums a{_mm256_setzero_ps(), _mm256_setzero_ps(), _mm256_setzero_ps()};
    for (; end - w >= 4; w += 4, x += 4 * step) {
        AddPair(a, x, w);
        AddPair(a, x + 2 * step, w + 2);
    }
    if (end - w >= 2) {
        AddPair(a, x, w);
        w += 2;
        x += 2 * step;
    }
    s0 = _mm_add_ps(_mm256_castps256_ps128(a.p), _mm256_extractf128_ps(a.s, 1));
    s1 = _mm_add_ps(_mm256_extractf128_ps(a.p, 1), _mm256_castps256_ps128(a.q));
    s2 = _mm_add_ps(_mm256_castps256_ps128(a.s), _mm256_extractf128_ps(a.q, 1));
    if (w != end) {
        const __m128 last = _mm_broadcast_ss(w);
        s0 = AddProduct(s0, last, x);
        s1 = AddProduct(s1, last, x + 16);
        s2 = AddProduct(s2, last, x + 32);
    }
}

// 24 floats (eight columns × B, G, R) of `n` >= 1 row-buffer rows from `x`.
inline void FilterGroup(const uint8_t *x, const float *w, int32_t n, __m256 &a0, __m256 &a1,
                        __m256 &a2) {
    constexpr int32_t step = kernel_geometry::RowPitch;
    const float *const end = w + n;
    a0 = a1 = a2 = _mm256_setzero_ps();
    for (; end - w >= 2; w += 2, x += 2 * step) {
        const __m256 w0 = _mm256_broadcast_ss(w), w1 = _mm256_broadcast_ss(w + 1);
        a0 = AddProduct(a0, w0, x);
        a1 = AddProduct(a1, w0, x + 32);
        a2 = AddProduct(a2, w0, x + 64);
        a0 = AddProduct(a0, w1, x + step);
        a1 = AddProduct(a1, w1, x + step + 32);
        a2 = AddProduct(a2, w1, x + step + 64);
    }
    if (w != end) {
        const __m256 w0 = _mm256_broadcast_ss(w);
        a0 = AddProduct(a0, w0, x);
        a1 = AddProduct(a1, w0, x + 32);
        a2 = AddProduct(a2, w0, x + 64);
    }
}

}  // namespace varnoth::avx
