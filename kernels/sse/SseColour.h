// Tessolk's side of the colour conversions with SSE2 only (no byte shuffle):
// whole pixels come in with 8- and 4-byte loads and word unpacks, codes and
// indices leave the vector registers two to a 32-bit register, looked-up
// floats go back four to a vector, and the PIXEL_YC interleave is three word
// shuffles and a mask per channel and output vector. The 16-bit arithmetic
// is the shared one.
#pragma once
#include <emmintrin.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "kernels/common/KernelColour.h"

namespace tessolk {

// y cb cr y of the first pixel at `p` and cb cr of the second, words 0-5;
// exactly the two pixels' 12 bytes are read.
inline __m128i LoadPixelPairLow(const uint8_t *p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
}
inline __m128i LoadPixelPairHigh(const uint8_t *p) {
    int32_t tail;
    memcpy(&tail, p + 8, sizeof tail);
    return _mm_cvtsi32_si128(tail);
}

// Two neighbouring columns from `p` of four rows `pitch` bytes apart, in the
// lanes of the shared gather (lane = 4 × column + row).
inline void GatherNeighbours(const uint8_t *p, ptrdiff_t pitch, __m128i &y, __m128i &cb,
                             __m128i &cr) {
    const uint8_t *p2 = p + 2 * pitch;
    // Words: a0 b0 a1 b1 a2 b2 a3 b3 (rows a, b: y0 cb0 cr0 y1), then the
    // rest (cb1 cr1) of rows a, b; the same for rows c, d.
    const __m128i ab = _mm_unpacklo_epi16(LoadPixelPairLow(p), LoadPixelPairLow(p + pitch));
    const __m128i abTail = _mm_unpacklo_epi16(LoadPixelPairHigh(p), LoadPixelPairHigh(p + pitch));
    const __m128i cd = _mm_unpacklo_epi16(LoadPixelPairLow(p2), LoadPixelPairLow(p2 + pitch));
    const __m128i cdTail = _mm_unpacklo_epi16(LoadPixelPairHigh(p2), LoadPixelPairHigh(p2 + pitch));
    // Four rows of one value per half: y0 | cb0, cr0 | y1, cb1 | cr1.
    const __m128d yCb0 = _mm_castsi128_pd(_mm_unpacklo_epi32(ab, cd));
    const __m128d crY1 = _mm_castsi128_pd(_mm_unpackhi_epi32(ab, cd));
    const __m128d cbCr1 = _mm_castsi128_pd(_mm_unpacklo_epi32(abTail, cdTail));
    y = _mm_castpd_si128(_mm_move_sd(crY1, yCb0));
    cb = _mm_castpd_si128(_mm_shuffle_pd(yCb0, cbCr1, 1));
    cr = _mm_castpd_si128(_mm_move_sd(cbCr1, crY1));
}

// toLinear of the four codes in two 32-bit words (low half first).
inline __m128 LookUpFour(uint32_t first, uint32_t second, const float *toLinear) {
    const __m128 a = _mm_unpacklo_ps(_mm_load_ss(toLinear + (first & 0xFFFF)),
                                     _mm_load_ss(toLinear + (first >> 16)));
    const __m128 b = _mm_unpacklo_ps(_mm_load_ss(toLinear + (second & 0xFFFF)),
                                     _mm_load_ss(toLinear + (second >> 16)));
    return _mm_movelh_ps(a, b);
}

inline uint32_t Word32(__m128i v) { return static_cast<uint32_t>(_mm_cvtsi128_si32(v)); }

// Codes 0-3 and 4-7 of `codes` through toLinear, to out[0..3] and out[4..7]
// when both go to one place, or to `lo` and `hi`.
inline void LookUpEight(__m128i codes, const float *toLinear, float *lo, float *hi) {
    _mm_store_ps(lo, LookUpFour(Word32(codes), Word32(_mm_shuffle_epi32(codes, 1)), toLinear));
    _mm_store_ps(hi, LookUpFour(Word32(_mm_shuffle_epi32(codes, 2)),
                                Word32(_mm_shuffle_epi32(codes, 3)), toLinear));
}

// One pair of neighbouring columns of four rows into 24 linear floats at
// `strip` (16-byte aligned), in the strip's layout: per column B G of rows
// 0-3 interleaved, then R of rows 0-3.
inline void ConvertNeighbours(const uint8_t *p, ptrdiff_t pitch, const float *toLinear,
                              float *strip) {
    __m128i y, cb, cr, b, g, r;
    GatherNeighbours(p, pitch, y, cb, cr);
    kernel_colour::ToCodes(y, cb, cr, b, g, r);
    LookUpEight(_mm_unpacklo_epi16(b, g), toLinear, strip, strip + 4);
    LookUpEight(r, toLinear, strip + 8, strip + 20);
    LookUpEight(_mm_unpackhi_epi16(b, g), toLinear, strip + 12, strip + 16);
}

// x0 x0 x0 x1 x1 x1 x2 x2, x2 x3 x3 x3 x4 x4 x4 x5 and x5 x5 x6 x6 x6 x7 x7 x7:
// word w of output vector v holds pixel (8v + w) / 3.
template <int V>
inline __m128i Spread(__m128i x) {
    if (V == 0) {
        const __m128i t = _mm_shuffle_epi32(x, _MM_SHUFFLE(1, 0, 0, 0));
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(t, _MM_SHUFFLE(1, 0, 0, 0)),
                                   _MM_SHUFFLE(2, 2, 1, 1));
    }
    if (V == 1) {
        const __m128i t = _mm_shuffle_epi32(x, _MM_SHUFFLE(2, 2, 1, 1));
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(t, _MM_SHUFFLE(1, 1, 1, 0)),
                                   _MM_SHUFFLE(1, 0, 0, 0));
    }
    const __m128i t = _mm_shuffle_epi32(x, _MM_SHUFFLE(3, 3, 3, 2));
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(t, _MM_SHUFFLE(2, 2, 1, 1)),
                               _MM_SHUFFLE(1, 1, 1, 0));
}

// Words 0 3 6, 1 4 7 and 2 5 of a vector.
inline __m128i Lanes036() { return _mm_setr_epi16(-1, 0, 0, -1, 0, 0, -1, 0); }
inline __m128i Lanes147() { return _mm_setr_epi16(0, -1, 0, 0, -1, 0, 0, -1); }
inline __m128i Lanes25() { return _mm_setr_epi16(0, 0, -1, 0, 0, -1, 0, 0); }

// Output vector V of the PIXEL_YC sequence; a, b, c are the channels whose
// words fall on lanes 0 3 6, 1 4 7 and 2 5.
template <int V>
inline __m128i Interleave(__m128i a, __m128i b, __m128i c) {
    return _mm_or_si128(_mm_or_si128(_mm_and_si128(Spread<V>(a), Lanes036()),
                                     _mm_and_si128(Spread<V>(b), Lanes147())),
                        _mm_and_si128(Spread<V>(c), Lanes25()));
}

// Eight PIXEL_YC (three vectors, in column order) from their 24 rounded
// linear values: index[2k] is the low half of value k (column k / 3, channel
// B G R = k mod 3), which is what indexes fromLinear.
inline void PixelsOfIndices(const uint16_t *index, const int16_t *fromLinear, __m128i out[3]) {
    __m128i b, g, r;
    kernel_colour::CodesOfIndices<2>(index, fromLinear, b, g, r);
    __m128i y, cb, cr;
    kernel_colour::YccOfCodes(b, g, r, y, cb, cr);
    out[0] = Interleave<0>(y, cb, cr);
    out[1] = Interleave<1>(cr, y, cb);
    out[2] = Interleave<2>(cb, cr, y);
}

}  // namespace tessolk
