// Compiled with -mavx2 and nothing more: no FMA, so that a multiply and an
// add stay two roundings, as in the SSE2 loops.
#include "cli/SampleRowsAvx2.h"

#include <immintrin.h>

namespace sample_rows_avx2 {

namespace {

struct TScale8 {
    __m256 Offset, Factor, Half, Sign;
    bool Nearest;
    explicit TScale8(THostScale s)
        : Offset(_mm256_set1_ps(s.Offset)), Factor(_mm256_set1_ps(s.Factor)), Half(_mm256_set1_ps(0.5f)),
          Sign(_mm256_set1_ps(-0.0f)), Nearest(s.NoHalves && _MM_GET_ROUNDING_MODE() == _MM_ROUND_NEAREST) {}
    __m256i operator()(__m256i sums) const {
        const __m256 v = _mm256_mul_ps(_mm256_sub_ps(_mm256_cvtepi32_ps(sums), Offset), Factor);
        if (Nearest) return _mm256_cvtps_epi32(v);
        return _mm256_cvttps_epi32(_mm256_add_ps(v, _mm256_or_ps(_mm256_and_ps(v, Sign), Half)));
    }
    // Sixteen sums in two vectors to sixteen int16 in order: the pack works
    // within 128-bit halves, the permute puts the quarters back.
    __m256i operator()(__m256i low, __m256i high) const {
        return _mm256_permute4x64_epi64(_mm256_packs_epi32((*this)(low), (*this)(high)), _MM_SHUFFLE(3, 1, 2, 0));
    }
};

__m128i Load128(const void *at) { return _mm_loadu_si128(static_cast<const __m128i *>(at)); }
__m256i Load256(const void *at) { return _mm256_loadu_si256(static_cast<const __m256i *>(at)); }
void Store256(void *at, __m256i v) { _mm256_storeu_si256(static_cast<__m256i *>(at), v); }

struct TCodes8 {
    __m256i Factor, Bias;
    __m128i Shift;
    explicit TCodes8(TCodeScale s)
        : Factor(_mm256_set1_epi32(s.Factor)), Bias(_mm256_set1_epi32(int32_t(s.Bias))),
          Shift(_mm_cvtsi32_si128(s.Shift)) {}
    __m256i operator()(const int32_t *in) const {
        return _mm256_sra_epi32(_mm256_add_epi32(_mm256_mullo_epi32(Load256(in), Factor), Bias), Shift);
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
        Store256(out + i, s(_mm256_cvtepu8_epi32(bytes), _mm256_cvtepu8_epi32(_mm_srli_si128(bytes, 8))));
    }
    return i;
}

int ScaleBody(const uint16_t *in, int count, THostScale scale, int16_t *out) {
    const TScale8 s(scale);
    int i = 0;
    for (; i + 16 <= count; i += 16)
        Store256(out + i, s(_mm256_cvtepu16_epi32(Load128(in + i)), _mm256_cvtepu16_epi32(Load128(in + i + 8))));
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
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                         _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
    }
    return i;
}

int CodesBody(const int32_t *in, int count, TCodeScale scale, uint16_t *out) {
    const TCodes8 s(scale);
    const __m256i max = _mm256_set1_epi16(int16_t(scale.Max));
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(s(in + i), s(in + i + 8)),
                                                       _MM_SHUFFLE(3, 1, 2, 0));
        Store256(out + i, _mm256_min_epu16(words, max));
    }
    return i;
}

}  // namespace sample_rows_avx2
