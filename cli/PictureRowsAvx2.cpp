// The picture rows on four double lanes, for processors with AVX2: the same
// operations as the SSE2 pairs (no FMA, which would round once where they
// round twice).
#include <immintrin.h>

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

    static Real FromInts(const int32_t *v) {
        return _mm256_cvtepi32_pd(_mm_setr_epi32(v[0], v[1], v[2], v[3]));
    }
    static void ToInts(Int v, int32_t *out) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), v);
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
