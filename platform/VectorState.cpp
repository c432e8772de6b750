#include "platform/VectorState.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>

namespace {

// AVX and the system saving the 256-bit registers (XCR0 bits 1 and 2);
// without both, vzeroupper does not exist or has nothing to clear.
bool HasUpperHalves() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const unsigned osxsave = 1u << 27, avx = 1u << 28;
    if ((ecx & (osxsave | avx)) != (osxsave | avx)) return false;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (lo & 6u) == 6u;
}

__attribute__((target("avx"))) void ZeroUpper() { _mm256_zeroupper(); }

}  // namespace

namespace platform {

void ClearUpperVectorHalves() {
    static const bool has = HasUpperHalves();
    if (has) ZeroUpper();
}

}  // namespace platform

#else

namespace platform {

void ClearUpperVectorHalves() {}

}  // namespace platform

#endif
