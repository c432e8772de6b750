// Compiled with -mavx2 and nothing more: no FMA, so that a multiply and an
// add stay two roundings, as in the SSE2 loops.
#include "cli/SampleRowsAvx2.h"

#include <immintrin.h>

#include "cli/SampleLanes.h"

namespace sample_rows_avx2 {

namespace {

__m128i Load128(const void *at) { return _mm_loadu_si128(static_cast<const __m128i *>(at)); }
__m256i Load256(const void *at) { return _mm256_loadu_si256(static_cast<const __m256i *>(at)); }
void Store256(void *at, __m256i v) { _mm256_storeu_si256(static_cast<__m256i *>(at), v); }

struct TAvx2Lanes {
    using Real = __m256;
    using Int = __m256i;
    static Real Set(float v) { return _mm256_set1_ps(v); }
    static Int Set(int32_t v) { return _mm256_set1_epi32(v); }
    static Real ToReal(Int v) { return _mm256_cvtepi32_ps(v); }
    static Real Sub(Real a, Real b) { return _mm256_sub_ps(a, b); }
    static Real Mul(Real a, Real b) { return _mm256_mul_ps(a, b); }
    static Real Add(Real a, Real b) { return _mm256_add_ps(a, b); }
    static Int Truncate(Real v) { return _mm256_cvttps_epi32(v); }
    static Int Nearest(Real v) { return _mm256_cvtps_epi32(v); }
    static Int AddInt(Int a, Int b) { return _mm256_add_epi32(a, b); }
    static Int ShiftRight(Int v, int by) { return _mm256_sra_epi32(v, _mm_cvtsi32_si128(by)); }
    static Int MulLow(Int a, Int b) { return _mm256_mullo_epi32(a, b); }
};

struct TScale8 : sample_lanes::THostLanes<TAvx2Lanes> {
    using THostLanes::THostLanes;
    using THostLanes::operator();
    // Sixteen sums in two vectors to sixteen int16 in order: the pack works
    // within 128-bit halves, the permute puts the quarters back.
    __m256i operator()(__m256i low, __m256i high) const {
        return _mm256_permute4x64_epi64(_mm256_packs_epi32((*this)(low), (*this)(high)),
                                        _MM_SHUFFLE(3, 1, 2, 0));
    }
};

struct TCodes8 : sample_lanes::TCodeLanes<TAvx2Lanes> {
    using TCodeLanes::TCodeLanes;
    __m256i operator()(const int32_t *in) const { return TCodeLanes::operator()(Load256(in)); }
};

// Eight pixels are 24 words, three 16-byte blocks; word g of them is
// component g % 3 of pixel g / 3. Byte masks that move one component's
// words between its own line and block k, the others' places zero; the
// same in both 128-bit halves, which hold pixels 0-7 and 8-15.
enum class TWay { ToBlock, FromBlock };
__m256i ComponentMask(int component, int block, TWay way) {
    alignas(32) int8_t bytes[32];
    for (int p = 0; p < 8; ++p) {
        int from = -1;
        if (way == TWay::ToBlock) {
            const int g = 8 * block + p;  // block word p takes pixel g / 3's component g % 3
            if (g % 3 == component) from = g / 3;
        } else {
            const int g = 3 * p + component;  // line word p is block word g % 8 of block g / 8
            if (g / 8 == block) from = g % 8;
        }
        for (int half = 0; half < 32; half += 16) {
            bytes[half + 2 * p] = int8_t(from < 0 ? -1 : 2 * from);
            bytes[half + 2 * p + 1] = int8_t(from < 0 ? -1 : 2 * from + 1);
        }
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i *>(bytes));
}

struct TMasks {
    __m256i Of[3][3];  // [component][block]
    explicit TMasks(TWay way) {
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) Of[c][k] = ComponentMask(c, k, way);
    }
};

}  // namespace

bool Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

int ScaleBody(const uint8_t *in, int count, THostScale scale, int16_t *out) {
    const TScale8 s(scale);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = Load128(in + i);
        Store256(out + i,
                 s(_mm256_cvtepu8_epi32(bytes), _mm256_cvtepu8_epi32(_mm_srli_si128(bytes, 8))));
    }
    return i;
}

int ScaleBody(const uint16_t *in, int count, THostScale scale, int16_t *out) {
    const TScale8 s(scale);
    int i = 0;
    for (; i + 16 <= count; i += 16)
        Store256(out + i, s(_mm256_cvtepu16_epi32(Load128(in + i)),
                            _mm256_cvtepu16_epi32(Load128(in + i + 8))));
    return i;
}

int ScaleBody(const int32_t *in, int count, THostScale scale, int16_t *out) {
    const TScale8 s(scale);
    int i = 0;
    for (; i + 16 <= count; i += 16) Store256(out + i, s(Load256(in + i), Load256(in + i + 8)));
    return i;
}

// Sixteen codes at a time; the unsigned pack to words clamps at 0 and 65535.
int CodesBody(const int32_t *in, int count, TCodeScale scale, uint8_t *out) {
    const TCodes8 s(scale);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i words = _mm256_permute4x64_epi64(_mm256_packs_epi32(s(in + i), s(in + i + 8)),
                                                       _MM_SHUFFLE(3, 1, 2, 0));
        _mm_storeu_si128(
            reinterpret_cast<__m128i *>(out + i),
            _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
    }
    return i;
}

int CodesBody(const int32_t *in, int count, TCodeScale scale, uint16_t *out) {
    const TCodes8 s(scale);
    const __m256i max = _mm256_set1_epi16(int16_t(scale.Max));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i words = _mm256_permute4x64_epi64(
            _mm256_packus_epi32(s(in + i), s(in + i + 8)), _MM_SHUFFLE(3, 1, 2, 0));
        Store256(out + i, _mm256_min_epu16(words, max));
    }
    return i;
}

int PackBody(const int16_t *y, const int16_t *cb, const int16_t *cr, int count, bool streaming,
             PIXEL_YC *out) {
    static const TMasks masks(TWay::ToBlock);
    char *at = reinterpret_cast<char *>(out);
    // Sixteen pixels are 96 bytes, so each group starts as the line does.
    const bool whole = streaming && reinterpret_cast<uintptr_t>(at) % 32 == 0;
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 16 <= count; i += 16, at += 16 * sizeof(PIXEL_YC)) {
        const __m256i line[3] = {Load256(y + i), cb ? Load256(cb + i) : zero,
                                 cr ? Load256(cr + i) : zero};
        __m256i block[3];
        for (int k = 0; k < 3; ++k)
            block[k] =
                _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(line[0], masks.Of[0][k]),
                                                _mm256_shuffle_epi8(line[1], masks.Of[1][k])),
                                _mm256_shuffle_epi8(line[2], masks.Of[2][k]));
        // Blocks 0, 1, 2 of pixels 0-7, then of pixels 8-15.
        const __m256i first = _mm256_permute2x128_si256(block[0], block[1], 0x20);
        const __m256i second = _mm256_permute2x128_si256(block[2], block[0], 0x30);
        const __m256i third = _mm256_permute2x128_si256(block[1], block[2], 0x31);
        __m256i *const to = reinterpret_cast<__m256i *>(at);
        if (whole) {
            _mm256_stream_si256(to, first);
            _mm256_stream_si256(to + 1, second);
            _mm256_stream_si256(to + 2, third);
        } else if (streaming) {
            __m128i *const half = reinterpret_cast<__m128i *>(at);
            _mm_stream_si128(half, _mm256_castsi256_si128(first));
            _mm_stream_si128(half + 1, _mm256_extracti128_si256(first, 1));
            _mm_stream_si128(half + 2, _mm256_castsi256_si128(second));
            _mm_stream_si128(half + 3, _mm256_extracti128_si256(second, 1));
            _mm_stream_si128(half + 4, _mm256_castsi256_si128(third));
            _mm_stream_si128(half + 5, _mm256_extracti128_si256(third, 1));
        } else {
            Store256(to, first);
            Store256(to + 1, second);
            Store256(to + 2, third);
        }
    }
    return i;
}

int UnpackBody(const PIXEL_YC *in, int count, int32_t *y, int32_t *cb, int32_t *cr, int weight,
               bool add) {
    static const TMasks masks(TWay::FromBlock);
    const char *at = reinterpret_cast<const char *>(in);
    const __m128i shift = _mm_cvtsi32_si128(weight == 2 ? 1 : 0);
    // Sixteen words widened with their sign into eight and eight sums.
    const auto store = [&](int32_t *to, __m256i words, bool sum) {
        __m256i low = _mm256_cvtepi16_epi32(_mm256_castsi256_si128(words));
        __m256i high = _mm256_cvtepi16_epi32(_mm256_extracti128_si256(words, 1));
        if (sum) {
            low = _mm256_sll_epi32(low, shift);
            high = _mm256_sll_epi32(high, shift);
            if (add) {
                low = _mm256_add_epi32(low, Load256(to));
                high = _mm256_add_epi32(high, Load256(to + 8));
            }
        }
        Store256(to, low);
        Store256(to + 8, high);
    };
    int i = 0;
    for (; i + 16 <= count; i += 16, at += 16 * sizeof(PIXEL_YC)) {
        // Block k of pixels 0-7 below, of pixels 8-15 above.
        __m256i block[3];
        for (int k = 0; k < 3; ++k)
            block[k] = _mm256_inserti128_si256(_mm256_castsi128_si256(Load128(at + 16 * k)),
                                               Load128(at + 48 + 16 * k), 1);
        const auto component = [&](int c) {
            return _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(block[0], masks.Of[c][0]),
                                                   _mm256_shuffle_epi8(block[1], masks.Of[c][1])),
                                   _mm256_shuffle_epi8(block[2], masks.Of[c][2]));
        };
        if (y) store(y + i, component(0), false);
        if (!cb) continue;
        store(cb + i, component(1), true);
        store(cr + i, component(2), true);
    }
    return i;
}

}  // namespace sample_rows_avx2
