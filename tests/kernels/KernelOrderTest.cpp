// Sums whose value depends on the order of the taps, through both passes:
// the kernel follows its own horizontal order, and the vertical pass adds in
// tap order in every kernel. Linear values 2^24, 1, -2^24, 1 give 1 in tap
// order ((2^24 + 1) rounds back to 2^24) and 2 as even + odd taps.
#include <vector>

#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelContext.h"
#include "tests/support/TestFrames.h"

namespace {

using reference_model::TapOrder;
using testing_support::Geometry;
using testing_support::TapList;
using testing_support::TapTable;

constexpr float Big = 16777216.0f;

PIXEL_YC Grey(int16_t c) { return PIXEL_YC{c, 0, 0}; }

struct OrderCase {
    const char *name;
    Geometry geometry;
    TapTable columns, rows;
    TapOrder horizontal;  // the order of the horizontal taps
    bool telling;         // the horizontal order changes this case's result
    bool highQuality;     // the HQ kernels' steps
};

// The one output pixel by the reference model.
PIXEL_YC Expected(const OrderCase &c, const PIXEL_YC *src, LinearFilterContext &ctx) {
    reference_model::Job job;
    job.src = src;
    job.srcPitch = c.geometry.maxWidth;
    job.srcWidth = c.geometry.srcWidth;
    job.srcHeight = c.geometry.srcHeight;
    job.hWeights = &ctx.hWeights;
    job.vWeights = &ctx.vWeights;
    job.toLinear = ctx.toLinear;
    job.fromLinear = ctx.fromLinear;
    job.dstWidth = job.dstHeight = 1;
    job.horizontalOrder = c.horizontal;
    job.highQuality = c.highQuality;
    PIXEL_YC out{};
    reference_model::Resize(job, &out, 1);
    return out;
}

TEST_P(KernelTest, OrderDependentSumsFollowTheKernelsTapOrder) {
    std::vector<float> toLinear(4097, 0.0f);
    toLinear[100] = Big;
    toLinear[200] = 1.0f;
    toLinear[300] = -Big;
    // Code 1, which no pixel here has, puts two code boundaries between
    // sums 1 and 2 for the HQ kernels' inverse (built from this table).
    toLinear[1] = 3.0f;
    const PIXEL_YC line[] = {Grey(100), Grey(200), Grey(300), Grey(200)};
    const TapList four{0, {1, 1, 1, 1}}, one{0, {1}};
    const OrderCase cases[] = {
        {"across", {4, 1, 1, 1, 4}, {four}, {one}, Order(), true, HighQuality()},
        {"down", {1, 4, 1, 1, 1}, {one}, {four}, Order(), false, HighQuality()}};
    for (const OrderCase &c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TKernelContext context(Kernel(), c.geometry, 1, c.columns, c.rows);
        context.Context().toLinear = toLinear.data();
        testing_support::TTestFrame src(c.geometry.maxWidth, 4), dst(c.geometry.maxWidth, 4);
        for (int32_t i = 0; i < 4; ++i) src.Pixels()[i] = line[i];
        testing_support::RunProcess(Kernel(), context.Context(), dst.Pixels(), src.Pixels(), 1);

        const PIXEL_YC expected = Expected(c, src.Pixels(), context.Context());
        OrderCase other = c;
        other.horizontal =
            c.horizontal == TapOrder::InOrder ? TapOrder::EvenOddPairs : TapOrder::InOrder;
        // The case tells the two orders apart, or shows that it must not.
        EXPECT_EQ(Expected(other, src.Pixels(), context.Context()).y != expected.y, c.telling);
        EXPECT_TRUE(testing_support::SameImage(&expected, 1, dst.Pixels(), dst.Pitch(), 1, 1));
    }
}

}  // namespace
