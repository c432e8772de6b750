// Colour conversion between PIXEL_YC and R, G, B codes on 16-byte vectors:
// 16-bit fixed point with 14 fractional bits (BT.601). Every product is the
// upper half of 4·x × constant, i.e. floor(x × constant / 16384) for
// |x| <= 8191; beyond that 4·x wraps.
//
// Each kernel library compiles this with its own instruction set (SSE2, or
// VEX-encoded under -mavx). The functions have internal linkage so that no
// translation unit of another instruction set can share a copy with them.
#pragma once
#include <emmintrin.h>
#include <stddef.h>
#include <stdint.h>

namespace kernel_colour {
namespace {

// x × k / 16384, rounded down, with 4·x formed in 16 bits.
inline __m128i Share(__m128i x, int16_t k) {
    return _mm_mulhi_epi16(_mm_slli_epi16(x, 2), _mm_set1_epi16(k));
}

inline __m128i ClampCode(__m128i v) {
    return _mm_min_epi16(_mm_max_epi16(v, _mm_setzero_si128()), _mm_set1_epi16(4096));
}

template <int Lane>
inline void InsertPixel(const uint8_t *pixel, __m128i &y, __m128i &cb, __m128i &cr) {
    const int16_t *p = reinterpret_cast<const int16_t *>(pixel);
    y = _mm_insert_epi16(y, p[0], Lane);
    cb = _mm_insert_epi16(cb, p[1], Lane);
    cr = _mm_insert_epi16(cr, p[2], Lane);
}

// Two columns (byte offsets col0, col1) of four rows; lane = 4 × column + row.
inline void GatherPair(const uint8_t *const rows[4], ptrdiff_t col0, ptrdiff_t col1, __m128i &y,
                       __m128i &cb, __m128i &cr) {
    y = cb = cr = _mm_setzero_si128();
    InsertPixel<0>(rows[0] + col0, y, cb, cr);
    InsertPixel<1>(rows[1] + col0, y, cb, cr);
    InsertPixel<2>(rows[2] + col0, y, cb, cr);
    InsertPixel<3>(rows[3] + col0, y, cb, cr);
    InsertPixel<4>(rows[0] + col1, y, cb, cr);
    InsertPixel<5>(rows[1] + col1, y, cb, cr);
    InsertPixel<6>(rows[2] + col1, y, cb, cr);
    InsertPixel<7>(rows[3] + col1, y, cb, cr);
}

// R, G, B codes 0..4096 of eight pixels.
inline void ToCodes(__m128i y, __m128i cb, __m128i cr, __m128i &b, __m128i &g, __m128i &r) {
    const __m128i cb4 = _mm_slli_epi16(cb, 2), cr4 = _mm_slli_epi16(cr, 2);
    const __m128i boff = _mm_mulhi_epi16(cb4, _mm_set1_epi16(29032));
    const __m128i roff = _mm_mulhi_epi16(cr4, _mm_set1_epi16(22970));
    // G's pair (-5638 for cb, -11700 for cr) summed in 32 bits, then saturated.
    const __m128i gk = _mm_set1_epi32(
        static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(-11700)) << 16) |
                             static_cast<uint16_t>(-5638)));
    const __m128i glo = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(cb4, cr4), gk), 16);
    const __m128i ghi = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(cb4, cr4), gk), 16);
    const __m128i goff = _mm_packs_epi32(glo, ghi);
    b = ClampCode(_mm_add_epi16(y, boff));
    g = ClampCode(_mm_add_epi16(y, goff));
    r = ClampCode(_mm_add_epi16(y, roff));
}

// Converts one column pair of four rows into 24 linear floats at `strip`
// (column 0, then column 1; per column B G B G of rows 0-1, of rows 2-3,
// then R of rows 0-3).
inline void ConvertPair(const uint8_t *const rows[4], ptrdiff_t col0, ptrdiff_t col1,
                        const float *toLinear, float *strip) {
    __m128i y, cb, cr, b, g, r;
    GatherPair(rows, col0, col1, y, cb, cr);
    ToCodes(y, cb, cr, b, g, r);
    alignas(16) int16_t bc[8], gc[8], rc[8];
    _mm_store_si128(reinterpret_cast<__m128i *>(bc), b);
    _mm_store_si128(reinterpret_cast<__m128i *>(gc), g);
    _mm_store_si128(reinterpret_cast<__m128i *>(rc), r);
    for (int col = 0; col < 2; ++col) {
        float *s = strip + 12 * col;
        for (int row = 0; row < 4; ++row) {
            const int lane = 4 * col + row;
            s[2 * row] = toLinear[bc[lane]];
            s[2 * row + 1] = toLinear[gc[lane]];
            s[8 + row] = toLinear[rc[lane]];
        }
    }
}

// Column C's three codes into lane C of b, g, r.
template <int Stride, int C>
inline void InsertCodes(const uint16_t *index, const int16_t *fromLinear, __m128i &b, __m128i &g,
                        __m128i &r) {
    b = _mm_insert_epi16(b, fromLinear[index[Stride * (3 * C)]], C);
    g = _mm_insert_epi16(g, fromLinear[index[Stride * (3 * C + 1)]], C);
    r = _mm_insert_epi16(r, fromLinear[index[Stride * (3 * C + 2)]], C);
}

// B, G, R codes of eight pixels (lane = column) from the 24 table indices
// of their linear values, index[Stride × k] for value k (column k / 3,
// channel B G R = k mod 3). Each code goes from the table straight into its
// lane.
template <int Stride>
inline void CodesOfIndices(const uint16_t *index, const int16_t *fromLinear, __m128i &b, __m128i &g,
                           __m128i &r) {
    b = g = r = _mm_setzero_si128();
    InsertCodes<Stride, 0>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 1>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 2>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 3>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 4>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 5>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 6>(index, fromLinear, b, g, r);
    InsertCodes<Stride, 7>(index, fromLinear, b, g, r);
}

// Y, Cb, Cr of eight pixels from their B, G, R codes (0..4096).
inline void YccOfCodes(__m128i b, __m128i g, __m128i r, __m128i &y, __m128i &cb, __m128i &cr) {
    y = _mm_add_epi16(_mm_add_epi16(Share(b, 1867), Share(g, 9617)), Share(r, 4898));
    cb = _mm_add_epi16(_mm_add_epi16(_mm_srli_epi16(b, 1), Share(g, -5427)), Share(r, -2764));
    cr = _mm_add_epi16(_mm_add_epi16(Share(b, -1332), Share(g, -6859)), _mm_srli_epi16(r, 1));
}

}  // namespace
}  // namespace kernel_colour
