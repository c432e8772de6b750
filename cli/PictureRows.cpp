#include "cli/PictureRows.h"

#include <cstring>

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

// Two doubles a lane set, for RoundHalfAwayLanes.
struct TDoublePair {
    using Real = __m128d;
    using Int = __m128i;  // two int32 in the low half
    static Int Truncate(Real v) { return _mm_cvttpd_epi32(v); }
    static Real ToReal(Int v) { return _mm_cvtepi32_pd(v); }
    static Real Sub(Real a, Real b) { return _mm_sub_pd(a, b); }
    static Real Add(Real a, Real b) { return _mm_add_pd(a, b); }
    static Int AddInt(Int a, Int b) { return _mm_add_epi32(a, b); }
};

// Clamped before rounding: with whole bounds the result is the same as
// rounding first, and the value then fits int32.
__m128i Round(__m128d v, double low, double high) {
    v = _mm_min_pd(_mm_max_pd(v, _mm_set1_pd(low)), _mm_set1_pd(high));
    return RoundHalfAwayLanes<TDoublePair>(v);
}

template <class T>
__m128d Pair(const T *a, const T *b) {
    T x, y;
    std::memcpy(&x, a, sizeof x);  // 16-bit rows may be unaligned
    std::memcpy(&y, b, sizeof y);
    return _mm_set_pd(double(y), double(x));
}

void Store(__m128i y, __m128i cb, __m128i cr, PIXEL_YC *out) {
    for (int i = 0; i < 2;
         ++i, y = _mm_srli_si128(y, 4), cb = _mm_srli_si128(cb, 4), cr = _mm_srli_si128(cr, 4))
        out[i] = {int16_t(_mm_cvtsi128_si32(y)), int16_t(_mm_cvtsi128_si32(cb)),
                  int16_t(_mm_cvtsi128_si32(cr))};
}

// As RgbToYc and GreyToYc, each sample times `scale` first.
template <class T>
int ToHostPairs(const T *row, int channels, int width, double scale, PIXEL_YC *out) {
    constexpr double kKr = 0.299, kKg = 0.587, kKb = 0.114;
    const __m128d s = _mm_set1_pd(scale), codes = _mm_set1_pd(4096.0 / 255.0);
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 2 <= width; x += 2, row += 2 * channels, out += 2) {
        if (channels == 1) {
            const __m128d grey = _mm_mul_pd(Pair(row, row + 1), s);
            Store(Round(_mm_mul_pd(grey, codes), 0, 4096), zero, zero, out);
            continue;
        }
        const __m128d r = _mm_mul_pd(Pair(row, row + 3), s),
                      g = _mm_mul_pd(Pair(row + 1, row + 4), s),
                      b = _mm_mul_pd(Pair(row + 2, row + 5), s);
        const __m128d y =
            _mm_add_pd(_mm_add_pd(_mm_mul_pd(_mm_set1_pd(kKr), r), _mm_mul_pd(_mm_set1_pd(kKg), g)),
                       _mm_mul_pd(_mm_set1_pd(kKb), b));
        const __m128d cb = _mm_div_pd(_mm_sub_pd(b, y), _mm_set1_pd(2 * (1 - kKb)));
        const __m128d cr = _mm_div_pd(_mm_sub_pd(r, y), _mm_set1_pd(2 * (1 - kKr)));
        Store(Round(_mm_mul_pd(y, codes), 0, 4096), Round(_mm_mul_pd(cb, codes), -2048, 2048),
              Round(_mm_mul_pd(cr, codes), -2048, 2048), out);
    }
    return x;
}

__m128d Lane(const PIXEL_YC *in, int16_t PIXEL_YC::*part) {
    return _mm_set_pd(double(in[1].*part), double(in[0].*part));
}

template <class T>
void StorePairs(__m128i v, int at, int channels, T *row) {
    row[at] = T(_mm_cvtsi128_si32(v));
    row[at + channels] = T(_mm_cvtsi128_si32(_mm_srli_si128(v, 4)));
}

// As YcToRgb and YcToGrey, the results times `scale`.
template <class T>
int FromHostPairs(const PIXEL_YC *in, int width, int channels, double scale, int max, T *row) {
    constexpr double kKr = 0.299, kKg = 0.587, kKb = 0.114;
    const __m128d s = _mm_set1_pd(scale), codes = _mm_set1_pd(4096.0 / 255.0);
    int x = 0;
    for (; x + 2 <= width; x += 2, in += 2, row += 2 * channels) {
        const __m128d y = _mm_div_pd(Lane(in, &PIXEL_YC::y), codes);
        if (channels == 1) {
            StorePairs(Round(_mm_mul_pd(y, s), 0, max), 0, 1, row);
            continue;
        }
        const __m128d r = _mm_add_pd(
            y, _mm_mul_pd(_mm_set1_pd(2 * (1 - kKr)), _mm_div_pd(Lane(in, &PIXEL_YC::cr), codes)));
        const __m128d b = _mm_add_pd(
            y, _mm_mul_pd(_mm_set1_pd(2 * (1 - kKb)), _mm_div_pd(Lane(in, &PIXEL_YC::cb), codes)));
        const __m128d g = _mm_div_pd(_mm_sub_pd(_mm_sub_pd(y, _mm_mul_pd(_mm_set1_pd(kKr), r)),
                                                _mm_mul_pd(_mm_set1_pd(kKb), b)),
                                     _mm_set1_pd(kKg));
        StorePairs(Round(_mm_mul_pd(r, s), 0, max), 0, 3, row);
        StorePairs(Round(_mm_mul_pd(g, s), 0, max), 1, 3, row);
        StorePairs(Round(_mm_mul_pd(b, s), 0, max), 2, 3, row);
    }
    return x;
}

#endif

int ToHostBody(const TPicture &p, const uint8_t *row, PIXEL_YC *out) {
#if defined(__SSE2__)
    const double scale = 255.0 / p.MaxValue();
    if (p.Depth == 8) return ToHostPairs(row, p.Channels, p.Width, scale, out);
    return ToHostPairs(reinterpret_cast<const uint16_t *>(row), p.Channels, p.Width, scale, out);
#else
    (void)p, (void)row, (void)out;
    return 0;
#endif
}

int FromHostBody(const PIXEL_YC *in, TPicture &p, uint8_t *row) {
#if defined(__SSE2__)
    const double scale = p.MaxValue() / 255.0;
    if (p.Depth == 8) return FromHostPairs(in, p.Width, p.Channels, scale, p.MaxValue(), row);
    return FromHostPairs(in, p.Width, p.Channels, scale, p.MaxValue(),
                         reinterpret_cast<uint16_t *>(row));
#else
    (void)in, (void)p, (void)row;
    return 0;
#endif
}

}  // namespace

void PictureToHostRows(const TPicture &picture, PIXEL_YC *host, int stride, int first, int last) {
    for (int y = first; y < last; ++y) {
        PIXEL_YC *out = host + std::size_t(y) * stride;
        ToHostTail(picture, picture.Row(y), ToHostBody(picture, picture.Row(y), out), out);
    }
}

void HostToPictureRows(const PIXEL_YC *host, int stride, TPicture &picture, int first, int last) {
    for (int y = first; y < last; ++y) {
        const PIXEL_YC *in = host + std::size_t(y) * stride;
        FromHostTail(in, FromHostBody(in, picture, picture.Row(y)), picture, picture.Row(y));
    }
}
