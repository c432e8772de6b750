// Varnoth hands out its record only where AVX code can run: the decision on
// CPUID leaf 1 and XCR0 values, and the library on this processor.
#include <gtest/gtest.h>

#include "kernels/avx/AvxSupport.h"
#include "tests/kernels/KernelFixture.h"

namespace {

using varnoth::AvxUsable;

constexpr uint32_t Avx = 1u << 28, Osxsave = 1u << 27;
constexpr uint64_t X87 = 1, Sse = 2, Ymm = 4;

TEST(VarnothGuard, AvxNeedsTheInstructionsAndTheSavedYmmState) {
    // A typical Linux or Windows system on an AVX-512 processor.
    EXPECT_TRUE(AvxUsable(0xFFFAB223u, 0xE7));
    EXPECT_TRUE(AvxUsable(Avx | Osxsave, X87 | Sse | Ymm));
    EXPECT_TRUE(AvxUsable(Avx | Osxsave, Sse | Ymm));
}

TEST(VarnothGuard, AnyMissingPieceWithholdsTheKernel) {
    struct Case {
        const char *what;
        uint32_t ecx;
        uint64_t xcr0;
    };
    const Case cases[] = {
        {"no AVX (an SSE4.2 processor)", 0x7FBAE3FFu & ~Avx, X87 | Sse | Ymm},
        {"AVX but XGETBV not enabled by the system", Avx, 0},
        {"AVX, the system saves only the xmm state", Avx | Osxsave, X87 | Sse},
        {"AVX, the system saves only the ymm upper halves", Avx | Osxsave, X87 | Ymm},
        {"AVX, no register state saved", Avx | Osxsave, X87},
        {"OSXSAVE alone", Osxsave, X87 | Sse | Ymm},
        {"nothing", 0, 0},
        {"every other CPUID bit", ~(Avx | Osxsave), ~uint64_t{0}},
    };
    for (const Case &c : cases) EXPECT_FALSE(AvxUsable(c.ecx, c.xcr0)) << c.what;
}

TEST(VarnothGuard, RecordIsHandedOutExactlyWhereThisProcessorRunsAvx) {
    testing_support::TKernelLibrary library("Varnoth.dll");
    if (ProcessorHasAvx()) {
        ASSERT_NE(library.Info(), nullptr) << library.Path();
        EXPECT_STREQ(library.Info()->name, "AVX");
    } else {
        EXPECT_EQ(library.Info(), nullptr) << "Varnoth offered itself without AVX";
    }
}

}  // namespace
