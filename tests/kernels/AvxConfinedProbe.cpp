// A library shaped like Varnoth, built in variants for check-avx-only-in-
// process: the sound one must pass, each other one breaks one rule.
#include <immintrin.h>

#include "abi/LinearFilter.h"

#define AVX_CODE __attribute__((target("avx"), noinline))

namespace varnoth {

__attribute__((noinline)) bool ProcessorRunsAvx() { return __builtin_cpu_supports("avx"); }

namespace avx {

AVX_CODE void Scale(float *p, float k) {
    _mm256_storeu_ps(p, _mm256_mul_ps(_mm256_loadu_ps(p), _mm256_set1_ps(k)));
}

#if defined(PROBE_FMA)
__attribute__((target("avx,fma"), noinline)) void Blend(float *p) {
    const __m256 v = _mm256_loadu_ps(p);
    _mm256_storeu_ps(p, _mm256_fmadd_ps(v, v, v));
}
#elif defined(PROBE_AVX2)
__attribute__((target("avx2"), noinline)) void Blend(float *p) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), _mm256_add_epi16(v, v));
}
#else
AVX_CODE void Blend(float *p) { Scale(p, 0.5f); }
#endif

AVX_CODE void MV_CDECL Process(void *dst, const void *, LinearFilterContext *context, int32_t,
                               int32_t) {
#if !defined(PROBE_NO_ENTRY_CLEAR)
    _mm256_zeroupper();
#endif
    while (__atomic_add_fetch(&context->nextTile, 1, __ATOMIC_SEQ_CST) <= context->tileCount)
        Blend(static_cast<float *>(dst));
    _mm256_zeroupper();
#if defined(PROBE_DIRTY_RETURN)
    // Never run: only its code is read.
    __asm__ volatile("vxorps %%ymm1, %%ymm1, %%ymm1\n\tret" ::: "xmm1");
#endif
}

}  // namespace avx

#if defined(PROBE_VEX_ELSEWHERE)
__attribute__((target("avx"), noinline)) void Helper(float *p) {
    _mm_storeu_ps(p, _mm_add_ps(_mm_loadu_ps(p), _mm_loadu_ps(p + 4)));
}
#else
__attribute__((noinline)) void Helper(float *p) { p[0] += p[4]; }
#endif

}  // namespace varnoth

MV_EXTERN_C MV_EXPORT void *MV_CDECL GetLinearFilterPluginInfo(void) {
    static float scratch[8];
    varnoth::Helper(scratch);
#if defined(PROBE_GUARD_CALLS_AVX)
    varnoth::avx::Scale(scratch, 2.0f);
#endif
    return varnoth::ProcessorRunsAvx() ? reinterpret_cast<void *>(&varnoth::avx::Process) : nullptr;
}
