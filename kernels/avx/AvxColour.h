// Varnoth's side of the colour conversion: moving pixels and codes with the
// byte shuffles that come with AVX (SSSE3 and SSE4.1 in VEX form) instead of
// one 16-bit insert or extract per value. The 16-bit arithmetic is the shared
// one, so every code equals Tessolk's.
//
// Included only by translation units compiled with -mavx.
#pragma once
#include <immintrin.h>
#include <stdint.h>

#include "kernels/common/KernelColour.h"
#include "kernels/common/KernelGeometry.h"

namespace varnoth::avx {

// Two neighbouring pixels from the 12 bytes at `p` (two 8-byte loads that
// overlap, never beyond them), spread to y cb cr 0 y cb cr 0.
//
// Pixels and codes are only read and written with integer vector loads and
// stores, which may alias anything: the compiler takes a double access (the
// movhpd/movlpd intrinsics) to int16 memory for one that cannot touch it and
// may drop or reorder it.
inline __m128i LoadPixelPair(const uint8_t *p) {
    const __m128i both =
        _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p + 4)));
    // Bytes 0-7: y0 cb0 cr0 y1; bytes 8-15: cr0 y1 cb1 cr1.
    const __m128i spread = _mm_setr_epi8(0, 1, 2, 3, 4, 5, -1, -1, 6, 7, 12, 13, 14, 15, -1, -1);
    return _mm_shuffle_epi8(both, spread);
}

// Two neighbouring columns from `p` of four rows `pitch` bytes apart, in the
// lanes of Tessolk's gather (lane = 4 × column + row).
inline void GatherNeighbours(const uint8_t *p, ptrdiff_t pitch, __m128i &y, __m128i &cb,
                             __m128i &cr) {
    const uint8_t *p2 = p + 2 * pitch;
    const __m128i r0 = LoadPixelPair(p), r1 = LoadPixelPair(p + pitch);
    const __m128i r2 = LoadPixelPair(p2), r3 = LoadPixelPair(p2 + pitch);
    // Column 0 of rows 0-1 (y y cb cb cr cr 0 0), column 1 of rows 0-1, ...
    const __m128i a = _mm_unpacklo_epi16(r0, r1), b = _mm_unpackhi_epi16(r0, r1);
    const __m128i c = _mm_unpacklo_epi16(r2, r3), d = _mm_unpackhi_epi16(r2, r3);
    const __m128i yCb0 = _mm_unpacklo_epi32(a, c), yCb1 = _mm_unpacklo_epi32(b, d);
    y = _mm_unpacklo_epi64(yCb0, yCb1);
    cb = _mm_unpackhi_epi64(yCb0, yCb1);
    cr = _mm_unpacklo_epi64(_mm_unpackhi_epi32(a, c), _mm_unpackhi_epi32(b, d));
}

// Looks up two codes (the low and high half of `pair`) into out[0], out[1].
inline void LookUpTwo(uint32_t pair, const float *toLinear, float *out) {
    out[0] = toLinear[pair & 0xFFFF];
    out[1] = toLinear[pair >> 16];
}

// Looks up the first 2 × Pairs codes of `codes` into `out`.
template <int Pairs>
inline void LookUp(__m128i codes, const float *toLinear, float *out) {
    LookUpTwo(static_cast<uint32_t>(_mm_cvtsi128_si32(codes)), toLinear, out);
    LookUpTwo(static_cast<uint32_t>(_mm_extract_epi32(codes, 1)), toLinear, out + 2);
    if (Pairs > 2) {
        LookUpTwo(static_cast<uint32_t>(_mm_extract_epi32(codes, 2)), toLinear, out + 4);
        LookUpTwo(static_cast<uint32_t>(_mm_extract_epi32(codes, 3)), toLinear, out + 6);
    }
}

// One pair of neighbouring columns into 24 linear floats at `strip`, in the
// strip's layout: per column B G of rows 0-3 interleaved, then R of rows 0-3.
// Codes leave the vector registers two at a time and each float is stored
// alone, which keeps the shuffle unit free.
inline void ConvertNeighbours(const uint8_t *p, ptrdiff_t pitch, const float *toLinear,
                              float *strip) {
    __m128i y, cb, cr, b, g, r;
    GatherNeighbours(p, pitch, y, cb, cr);
    kernel_colour::ToCodes(y, cb, cr, b, g, r);
    LookUp<4>(_mm_unpacklo_epi16(b, g), toLinear, strip);
    LookUp<2>(r, toLinear, strip + 8);
    LookUp<4>(_mm_unpackhi_epi16(b, g), toLinear, strip + 12);
    LookUp<2>(_mm_unpackhi_epi64(r, r), toLinear, strip + 20);
}

// The pairs that the edge of the image or of the frame cuts, out of line so
// that their four row pointers stay out of the registers of the loop over
// whole pairs.
__attribute__((noinline)) inline void ConvertCutPairs(const uint8_t *const rows[4],
                                                      const kernel_geometry::SourceBounds &src,
                                                      int32_t column, int32_t pairs,
                                                      const float *toLinear, float *strip) {
    for (int32_t p = 0; p < pairs; ++p, column += 2, strip += 24)
        kernel_colour::ConvertPair(rows, src.Column(column), src.Column(column + 1), toLinear,
                                   strip);
}

// Source columns from `column` on, two at a time, into the strip. Rows an
// equal pitch apart (all but the frame's last group) walk one pointer; a
// last column pair cut by the image's edge (its second column repeats the
// first) takes the shared path, which reads each pixel alone.
inline void ConvertPairs(const uint8_t *const rows[4], const kernel_geometry::SourceBounds &src,
                         int32_t column, int32_t pairs, const float *toLinear, float *strip) {
    const ptrdiff_t pitch = rows[1] - rows[0];
    int32_t whole = 0;
    if (rows[2] - rows[1] == pitch && rows[3] - rows[2] == pitch) {
        whole = src.lastColumn > column ? (src.lastColumn - column + 1) / 2 : 0;
        if (whole > pairs) whole = pairs;
        // The next batch's rows, fetched early: a hint, which may point past
        // the frame without harm.
        // The loop ends on the strip pointer, not a count: 32-bit code has
        // no register to spare for one.
        const uintptr_t ahead = 4 * static_cast<uintptr_t>(src.pitch);
        const uint8_t *p = rows[0] + ptrdiff_t{column} * kernel_geometry::PixelBytes;
        for (float *const end = strip + 24 * whole; strip != end;
             p += 2 * kernel_geometry::PixelBytes, strip += 24) {
            const uintptr_t next = reinterpret_cast<uintptr_t>(p) + ahead;
            for (int r = 0; r < 4; ++r)
                _mm_prefetch(
                    reinterpret_cast<const char *>(next + r * static_cast<uintptr_t>(pitch)),
                    _MM_HINT_T0);
            ConvertNeighbours(p, pitch, toLinear, strip);
        }
    }
    if (whole < pairs)
        ConvertCutPairs(rows, src, column + 2 * whole, pairs - whole, toLinear, strip);
}

// Byte shuffles that interleave y, cb and cr of eight pixels into the
// PIXEL_YC sequence: mask [v][ch] takes channel ch's words into output vector
// v, whose word w is word 8v + w of the sequence; the other bytes are 0.
struct Interleave {
    alignas(16) int8_t mask[3][3][16];
};

constexpr Interleave InterleaveMasks() {
    Interleave t{};
    for (int v = 0; v < 3; ++v)
        for (int ch = 0; ch < 3; ++ch)
            for (int w = 0; w < 8; ++w) {
                const int word = 8 * v + w, pixel = word / 3;
                const bool mine = word % 3 == ch;
                t.mask[v][ch][2 * w] = static_cast<int8_t>(mine ? 2 * pixel : -1);
                t.mask[v][ch][2 * w + 1] = static_cast<int8_t>(mine ? 2 * pixel + 1 : -1);
            }
    return t;
}

constexpr Interleave PixelOrder = InterleaveMasks();

// Clamps eight linear sums to 0..65535 (NaN to 0), converts them to
// integers in the current rounding mode and packs them to 16 bits, which
// keeps each of them whole: the table indices.
inline __m128i RoundLinear(__m256 v) {
    v = _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(65535.0f));
    const __m256i n = _mm256_cvtps_epi32(v);
    return _mm_packus_epi32(_mm256_castsi256_si128(n), _mm256_extractf128_si256(n, 1));
}

// Eight output pixels from the eight 16-bit table indices of each of three
// vectors (eight columns × B, G, R), as three vectors of the PIXEL_YC
// sequence. The indices wait on the stack, from where each code's look-up
// reads its own.
inline void PixelsOfIndexWords(__m128i i0, __m128i i1, __m128i i2, const int16_t *fromLinear,
                               __m128i out[3]) {
    uint16_t index[24];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(index), i0);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(index + 8), i1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(index + 16), i2);
    __m128i codes[3];
    kernel_colour::CodesOfIndices<1>(index, fromLinear, codes[0], codes[1], codes[2]);
    __m128i ycc[3];
    kernel_colour::YccOfCodes(codes[0], codes[1], codes[2], ycc[0], ycc[1], ycc[2]);
    for (int v = 0; v < 3; ++v) {
        __m128i words = _mm_setzero_si128();
        for (int ch = 0; ch < 3; ++ch) {
            const __m128i mask =
                _mm_load_si128(reinterpret_cast<const __m128i *>(PixelOrder.mask[v][ch]));
            words = _mm_or_si128(words, _mm_shuffle_epi8(ycc[ch], mask));
        }
        out[v] = words;
    }
}

// Eight output pixels from their 24 linear sums (eight columns × B, G, R in
// three vectors).
inline void PixelsOfSums(__m256 s0, __m256 s1, __m256 s2, const int16_t *fromLinear,
                         __m128i out[3]) {
    PixelsOfIndexWords(RoundLinear(s0), RoundLinear(s1), RoundLinear(s2), fromLinear, out);
}

}  // namespace varnoth::avx
