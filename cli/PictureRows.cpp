#include "cli/PictureRows.h"

#include <cstring>

#include "cli/PictureLanes.h"
#include "cli/SampleRows.h"
#include "cli/YcConversion.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// A row's samples as the scalar conversions take them.
void Widen(const uint8_t *row, std::size_t count, int depth, uint16_t *out) {
    if (depth == 8)
        for (std::size_t i = 0; i < count; ++i) out[i] = row[i];
    else
        std::memcpy(out, row, count * sizeof(uint16_t));
}

void Narrow(const uint16_t *samples, std::size_t count, int depth, uint8_t *row) {
    if (depth == 8)
        for (std::size_t i = 0; i < count; ++i) row[i] = uint8_t(samples[i]);
    else
        std::memcpy(row, samples, count * sizeof(uint16_t));
}

// The pixels from `from` on, one at a time, through the scalar conversions.
void ToHostTail(const TPicture &p, const uint8_t *row, int from, PIXEL_YC *out) {
    uint16_t samples[3];
    const int bytes = p.Channels * (p.Depth / 8);
    for (int x = from; x < p.Width; ++x) {
        Widen(row + std::size_t(x) * bytes, p.Channels, p.Depth, samples);
        SamplesToYc(samples, p.Channels, 255.0 / p.MaxValue(), 1, out + x);
    }
}

void FromHostTail(const PIXEL_YC *in, int from, TPicture &p, uint8_t *row) {
    uint16_t samples[3];
    const int bytes = p.Channels * (p.Depth / 8);
    for (int x = from; x < p.Width; ++x) {
        YcToSamples(in + x, 1, p.Channels, p.MaxValue() / 255.0, p.MaxValue(), samples);
        Narrow(samples, p.Channels, p.Depth, row + std::size_t(x) * bytes);
    }
}

#if defined(__SSE2__)

// Two doubles a lane set.
struct TSse2Doubles {
    using Real = __m128d;
    using Int = __m128i;  // two int32 in the low half
    static constexpr int N = 2;
    static Real Set(double v) { return _mm_set1_pd(v); }
    static Real Mul(Real a, Real b) { return _mm_mul_pd(a, b); }
    static Real Add(Real a, Real b) { return _mm_add_pd(a, b); }
    static Real Sub(Real a, Real b) { return _mm_sub_pd(a, b); }
    static Real Div(Real a, Real b) { return _mm_div_pd(a, b); }
    static Real Min(Real a, Real b) { return _mm_min_pd(a, b); }
    static Real Max(Real a, Real b) { return _mm_max_pd(a, b); }
    static Int Truncate(Real v) { return _mm_cvttpd_epi32(v); }
    static Real ToReal(Int v) { return _mm_cvtepi32_pd(v); }
    static Int AddInt(Int a, Int b) { return _mm_add_epi32(a, b); }

    static Real FromInts(const int32_t *v) {
        return _mm_cvtepi32_pd(_mm_setr_epi32(v[0], v[1], 0, 0));
    }
    static void ToInts(Int v, int32_t *out) {
        out[0] = _mm_cvtsi128_si32(v);
        out[1] = _mm_cvtsi128_si32(_mm_srli_si128(v, 4));
    }
};

#endif

}  // namespace

namespace picture_rows {

#if defined(__SSE2__)
int InSse2(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out) {
    return picture_lanes::PictureIn<TSse2Doubles>(row, depth, channels, width, out);
}

int OutSse2(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row) {
    return picture_lanes::PictureOut<TSse2Doubles>(in, width, depth, channels, row);
}
#endif

}  // namespace picture_rows

void PictureToHostRows(const TPicture &picture, PIXEL_YC *host, int stride, int first, int last) {
    for (int y = first; y < last; ++y) {
        PIXEL_YC *out = host + std::size_t(y) * stride;
        const uint8_t *row = picture.Row(y);
        ToHostTail(picture, row,
                   PictureRowToHost(row, picture.Depth, picture.Channels, picture.Width, out), out);
    }
}

void HostToPictureRows(const PIXEL_YC *host, int stride, TPicture &picture, int first, int last) {
    for (int y = first; y < last; ++y) {
        const PIXEL_YC *in = host + std::size_t(y) * stride;
        uint8_t *row = picture.Row(y);
        FromHostTail(in, HostToPictureRow(in, picture.Width, picture.Depth, picture.Channels, row),
                     picture, row);
    }
}
