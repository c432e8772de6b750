// Whether this processor and system can run Varnoth's AVX code. Built
// without AVX: it runs before anything knows the answer.
#pragma once
#include <stdint.h>

namespace varnoth {

constexpr uint32_t CpuidOsxsave = uint32_t{1} << 27;  // leaf 1 ecx: XGETBV usable
constexpr uint32_t CpuidAvx = uint32_t{1} << 28;      // leaf 1 ecx: AVX instructions
constexpr uint64_t XcrSseState = 1u << 1;             // XCR0: xmm registers saved
constexpr uint64_t XcrYmmState = 1u << 2;             // XCR0: upper ymm halves saved

// The decision on CPUID leaf 1's ecx and XCR0 (0 when OSXSAVE is clear, as
// XGETBV may not be executed then): AVX instructions exist and the system
// saves the whole ymm registers on a task switch.
constexpr bool AvxUsable(uint32_t leaf1Ecx, uint64_t xcr0) {
    const uint32_t needed = CpuidAvx | CpuidOsxsave;
    const uint64_t state = XcrSseState | XcrYmmState;
    return (leaf1Ecx & needed) == needed && (xcr0 & state) == state;
}

// AvxUsable on this processor's values.
bool ProcessorRunsAvx();

}  // namespace varnoth
