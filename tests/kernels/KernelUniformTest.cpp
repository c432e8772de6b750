// Uniform frames through single-tap weight-1.0 tables (the area average of
// an enlargement by two): the colour round trips of the kernels' fixed-point conversion.
#include <vector>

#include "resize/AreaAverage.h"
#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelContext.h"
#include "tests/support/TestFrames.h"

namespace {

using testing_support::Geometry;
using testing_support::TKernelContext;
using testing_support::TTestFrame;

struct Uniform {
    PIXEL_YC in;
    PIXEL_YC out;
};

const Uniform KnownRoundTrips[] = {
    {{0, 0, 0}, {0, 0, 0}},
    {{4096, 0, 0}, {4094, 0, 0}},
    {{2048, 0, 0}, {2047, -1, -1}},
    {{1024, 0, 0}, {1023, -1, -1}},
    {{3000, 500, -300}, {2997, 498, -301}},
    {{4096, 2048, 2048}, {2821, 718, 907}},
};

TEST_P(KernelTest, UniformPixelsComeOutAsTheirKnownRoundTrips) {
    const Geometry g{37, 83, 74, 166, 80};  // two tiles across, two down
    TAreaAverage area;
    TKernelContext context(Kernel(), g, 2, area);
    for (const Uniform &u : KnownRoundTrips) {
        SCOPED_TRACE(testing::Message() << "(" << u.in.y << ", " << u.in.cb << ", " << u.in.cr
                                        << ")");
        TTestFrame src(g.maxWidth, g.dstHeight), dst(g.maxWidth, g.dstHeight);
        for (int32_t i = 0; i < g.maxWidth * g.dstHeight; ++i) src.Pixels()[i] = u.in;
        context.StartFrame();
        testing_support::RunProcess(Kernel(), context.Context(), dst.Pixels(), src.Pixels(), 2);
        std::vector<PIXEL_YC> expected(size_t(g.dstWidth) * g.dstHeight, u.out);
        EXPECT_TRUE(testing_support::SameImage(expected.data(), g.dstWidth, dst.Pixels(),
                                               dst.Pitch(), g.dstWidth, g.dstHeight));
    }
}

}  // namespace
