// Uniform frames through single-tap weight-1.0 tables (the area average of
// an enlargement by two): the colour round trips of the kernels' fixed-point conversion.
#include <vector>

#include "resize/AreaAverage.h"
#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelContext.h"
#include "tests/support/KnownRoundTrips.h"
#include "tests/support/TestFrames.h"

namespace {

using testing_support::Geometry;
using testing_support::KnownRoundTrips;
using testing_support::TKernelContext;
using testing_support::TTestFrame;

TEST_P(KernelTest, UniformPixelsComeOutAsTheirKnownRoundTrips) {
    const Geometry g{37, 83, 74, 166, 80};  // two tiles across, two down
    TAreaAverage area;
    TKernelContext context(Kernel(), g, 2, area);
    for (const testing_support::TRoundTrip &u : KnownRoundTrips) {
        SCOPED_TRACE(testing::Message()
                     << "(" << u.in.y << ", " << u.in.cb << ", " << u.in.cr << ")");
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
