// The picture rows on four double lanes, for processors with AVX2: the same
// operations as the SSE2 pairs (no FMA, which would round once where they
// round twice).
#include <immintrin.h>

#include <cstring>

#include "cli/PictureLanes.h"

namespace {

struct TAvx2Doubles {
    using Real = __m256d;
    using Int = __m128i;  // four int32
    static constexpr int N = 4;
    static Real Set(double v) { return _mm256_set1_pd(v); }
    static Real Mul(Real a, Real b) { return _mm256_mul_pd(a, b); }
    static Real Add(Real a, Real b) { return _mm256_add_pd(a, b); }
    static Real Sub(Real a, Real b) { return _mm256_sub_pd(a, b); }
    static Real Div(Real a, Real b) { return _mm256_div_pd(a, b); }
    static Real Min(Real a, Real b) { return _mm256_min_pd(a, b); }
    static Real Max(Real a, Real b) { return _mm256_max_pd(a, b); }
    static Int Truncate(Real v) { return _mm256_cvttpd_epi32(v); }
    static Real ToReal(Int v) { return _mm256_cvtepi32_pd(v); }
    static Int AddInt(Int a, Int b) { return _mm_add_epi32(a, b); }

    template <class T>
    static Real Load(const T *at, int step) {
        T v[4];
        for (int i = 0; i < 4; ++i)
            std::memcpy(&v[i], at + i * step, sizeof v[i]);  // 16-bit rows may be unaligned
        return _mm256_cvtepi32_pd(_mm_setr_epi32(v[0], v[1], v[2], v[3]));
    }
    static Real LoadPart(const PIXEL_YC *in, int16_t PIXEL_YC::*part) {
        return _mm256_cvtepi32_pd(
            _mm_setr_epi32(in[0].*part, in[1].*part, in[2].*part, in[3].*part));
    }
    static void StoreYc(Int y, Int cb, Int cr, PIXEL_YC *out) {
        alignas(16) int32_t ys[4], cbs[4], crs[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(ys), y);
        _mm_store_si128(reinterpret_cast<__m128i *>(cbs), cb);
        _mm_store_si128(reinterpret_cast<__m128i *>(crs), cr);
        for (int i = 0; i < N; ++i) out[i] = {int16_t(ys[i]), int16_t(cbs[i]), int16_t(crs[i])};
    }
    template <class T>
    static void StoreSamples(Int v, int step, T *at) {
        alignas(16) int32_t s[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(s), v);
        for (int i = 0; i < N; ++i) at[i * step] = T(s[i]);
    }
};

}  // namespace

namespace picture_rows {

int InAvx2(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out) {
    return picture_lanes::PictureIn<TAvx2Doubles>(row, depth, channels, width, out);
}

int OutAvx2(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row) {
    return picture_lanes::PictureOut<TAvx2Doubles>(in, width, depth, channels, row);
}

}  // namespace picture_rows
