// Reads CPUID and XCR0. Compiled without AVX, like everything that can run
// before the answer is known.
#include "kernels/avx/AvxSupport.h"

#include <cpuid.h>

namespace varnoth {

bool ProcessorRunsAvx() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    uint64_t xcr0 = 0;
    // XGETBV faults unless the system has enabled it (OSXSAVE).
    if (ecx & CpuidOsxsave) {
        uint32_t lo, hi;
        __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
        xcr0 = (uint64_t{hi} << 32) | lo;
    }
    return AvxUsable(ecx, xcr0);
}

}  // namespace varnoth
