// With one to three horizontal taps Varnoth's even + odd sums equal
// Tessolk's in-order sums, so the two kernels give identical bytes on the
// same frames and tables, whatever the vertical taps.
#include <algorithm>
#include <random>
#include <vector>

#include "resize/AreaAverage.h"
#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelContext.h"
#include "tests/support/TestFrames.h"

namespace {

using testing_support::Geometry;
using testing_support::TapTable;
using testing_support::TKernelContext;
using testing_support::TTestFrame;

class VarnothAndTessolk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ProcessorHasAvx()) GTEST_SKIP() << "this processor or system lacks AVX";
        for (const KernelUnderTest *k : {&TessolkKernel, &VarnothKernel})
            ASSERT_NE(LoadedKernel(k->file).Info(), nullptr) << "cannot load " << k->file;
    }
    static const LinearFilterPluginInfo &Of(const KernelUnderTest &k) {
        return *LoadedKernel(k.file).Info();
    }
    // Both kernels on the same source frame and tables.
    static testing::AssertionResult SameOutput(const Geometry &g, int32_t threads,
                                               const TapTable &columns, const TapTable &rows,
                                               uint32_t seed) {
        const int32_t maxH = std::max(g.srcHeight, g.dstHeight);
        TTestFrame src(g.maxWidth, maxH), sse(g.maxWidth, maxH), avx(g.maxWidth, maxH);
        testing_support::FillRandomPixels(src.Pixels(), g.maxWidth, g.maxWidth, maxH, seed);
        const std::pair<const KernelUnderTest *, TTestFrame *> runs[] = {{&TessolkKernel, &sse},
                                                                         {&VarnothKernel, &avx}};
        for (const auto &[kernel, dst] : runs) {
            TKernelContext context(Of(*kernel), g, threads, columns, rows);
            testing_support::RunProcess(Of(*kernel), context.Context(), dst->Pixels(), src.Pixels(),
                                        threads);
        }
        return testing_support::SameImage(sse.Pixels(), sse.Pitch(), avx.Pixels(), avx.Pitch(),
                                          g.dstWidth, g.dstHeight);
    }
};

TEST_F(VarnothAndTessolk, OneToThreeHorizontalTapsGiveTessolksBytes) {
    const Geometry sizes[] = {{1, 1, 1, 1, 1},          {1, 1, 65, 161, 65},
                              {300, 200, 65, 161, 300}, {150, 170, 90, 200, 152},
                              {40, 30, 201, 333, 201},  {1920, 1080, 1280, 720, 1920}};
    std::mt19937 rng(123);
    uint32_t seed = 1;
    for (const Geometry &g : sizes)
        for (int32_t taps : {1, 2, 3}) {
            const TapTable columns =
                testing_support::FixedTaps(g.srcWidth, g.dstWidth, taps, rng, true);
            const TapTable rows = testing_support::RandomTaps(g.srcHeight, g.dstHeight, 8.0, rng);
            const int32_t threads = 1 + int32_t(seed % 3);
            EXPECT_TRUE(SameOutput(g, threads, columns, rows, seed++))
                << g.srcWidth << " x " << g.srcHeight << " to " << g.dstWidth << " x "
                << g.dstHeight << ", " << taps << " horizontal taps";
        }
}

// The area average of enlargements (at most two taps per column), as the
// driver would hand it to either kernel.
TEST_F(VarnothAndTessolk, AreaAverageEnlargementsGiveTessolksBytes) {
    TAreaAverage area;
    const Geometry sizes[] = {{640, 360, 1920, 1080, 1920}, {97, 61, 301, 60, 301}};
    for (const Geometry &g : sizes)
        EXPECT_TRUE(SameOutput(g, 2, testing_support::TapsFrom(area, g.srcWidth, g.dstWidth),
                               testing_support::TapsFrom(area, g.srcHeight, g.dstHeight), 7))
            << g.srcWidth << " x " << g.srcHeight << " to " << g.dstWidth << " x " << g.dstHeight;
}

}  // namespace
