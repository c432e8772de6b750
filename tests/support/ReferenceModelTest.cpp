// The reference model checked on its own, by hand-worked values: it is the
// yardstick of every kernel, so it must not merely agree with one.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/support/KernelContext.h"
#include "tests/support/KnownRoundTrips.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/TapTables.h"

namespace {

using namespace reference_model;

void ExpectCodes(PIXEL_YC in, int16_t b, int16_t g, int16_t r) {
    const Codes c = CodesOf(in);
    EXPECT_EQ(c.b, b) << in.y << ", " << in.cb << ", " << in.cr;
    EXPECT_EQ(c.g, g) << in.y << ", " << in.cb << ", " << in.cr;
    EXPECT_EQ(c.r, r) << in.y << ", " << in.cb << ", " << in.cr;
}

TEST(ReferenceModel, ColourInUsesSixteenBitWrappingAndClamps) {
    ExpectCodes({3000, 500, -300}, 3885, 3042, 2579);
    ExpectCodes({4096, 2048, 2048}, 4096, 1928, 4096);
    ExpectCodes({-5, 0, 0}, 0, 0, 0);
    ExpectCodes({5000, 0, 0}, 4096, 4096, 4096);
    // 4 × 8192 wraps to −32768: B drops to 0 where true arithmetic gives 4096.
    ExpectCodes({4000, 8192, 0}, 0, 4096, 4000);
    // 32000 + 14175 wraps below zero in 16 bits.
    ExpectCodes({32000, 8000, 0}, 0, 4096, 4096);
}

TEST(ReferenceModel, KnownRoundTripsThroughTheGammaTables) {
    const TGammaTables &tables = testing_support::SharedGammaTables();
    const float *toLinear = tables.GammaToLinear();
    const int16_t *fromLinear = tables.LinearToGamma();
    for (const testing_support::TRoundTrip &c : testing_support::KnownRoundTrips) {
        const Codes in = CodesOf(c.in);
        const PIXEL_YC out = PixelOf(Codes{CodeOfLinear(toLinear[in.b], fromLinear),
                                           CodeOfLinear(toLinear[in.g], fromLinear),
                                           CodeOfLinear(toLinear[in.r], fromLinear)});
        EXPECT_EQ(out.y, c.out.y) << c.in.y << ", " << c.in.cb << ", " << c.in.cr;
        EXPECT_EQ(out.cb, c.out.cb) << c.in.y << ", " << c.in.cb << ", " << c.in.cr;
        EXPECT_EQ(out.cr, c.out.cr) << c.in.y << ", " << c.in.cb << ", " << c.in.cr;
    }
}

TEST(ReferenceModel, LinearSumsAreClampedThenRoundedToEven) {
    std::vector<int16_t> table(65536);
    for (int j = 0; j < 65536; ++j) table[j] = int16_t(j & 0x7FFF);
    EXPECT_EQ(CodeOfLinear(std::numeric_limits<float>::quiet_NaN(), table.data()), 0);
    EXPECT_EQ(CodeOfLinear(-5.0f, table.data()), 0);
    EXPECT_EQ(CodeOfLinear(70000.0f, table.data()), 65535 & 0x7FFF);
    EXPECT_EQ(CodeOfLinear(0.5f, table.data()), 0);
    EXPECT_EQ(CodeOfLinear(1.5f, table.data()), 2);
    EXPECT_EQ(CodeOfLinear(2.5f, table.data()), 2);
    EXPECT_EQ(CodeOfLinear(1000.49f, table.data()), 1000);
}

// Values whose sum depends on the order: 2^24 + 1 rounds back to 2^24.
TEST(ReferenceModel, EvenOddOrderDiffersFromTapOrderOnlyFromFourTaps) {
    const float big = 16777216.0f;
    const float values[] = {big, 1.0f, -big, 1.0f, 1.0f};
    const float ones[] = {1, 1, 1, 1, 1};
    for (int32_t n = 1; n <= 3; ++n)
        EXPECT_EQ(SumTaps(ones, values, n, 1, TapOrder::InOrder),
                  SumTaps(ones, values, n, 1, TapOrder::EvenOddPairs))
            << n << " taps";
    EXPECT_EQ(SumTaps(ones, values, 4, 1, TapOrder::InOrder), 1.0f);
    EXPECT_EQ(SumTaps(ones, values, 4, 1, TapOrder::EvenOddPairs), 2.0f);
    EXPECT_EQ(SumTaps(ones, values, 5, 1, TapOrder::InOrder), 2.0f);
    EXPECT_EQ(SumTaps(ones, values, 5, 1, TapOrder::EvenOddPairs), 3.0f);
    // Every product is rounded to float before its add: 1/3 in float times 3
    // rounds to 1, a tie that 2^24 + 1 breaks to even, back to 2^24. The
    // product kept whole (a fused multiply-add, or a wider sum) is a little
    // over 1 and carries the sum up to 2^24 + 2.
    const float w[] = {1.0f, 1.0f / 3.0f};
    const float x[] = {big, 0.0f, 3.0f};
    EXPECT_EQ(SumTaps(w, x, 2, 2, TapOrder::InOrder) - big, 0.0f);
}

// Pixel y = c with no chroma has R = G = B = c.
PIXEL_YC Grey(int16_t c) { return PIXEL_YC{c, 0, 0}; }

struct OneOutput {
    std::vector<PIXEL_YC> src;
    int32_t width, height;
    testing_support::TapTable columns, rows;
};

PIXEL_YC ResizeToOne(const OneOutput &o, const float *toLinear, const int16_t *fromLinear,
                     TapOrder order) {
    WeightTable h{}, v{};
    testing_support::FillWeightTable(h, o.columns, 48);
    testing_support::FillWeightTable(v, o.rows, 896);
    Job job;
    job.src = o.src.data();
    job.srcPitch = o.width;
    job.srcWidth = o.width;
    job.srcHeight = o.height;
    job.hWeights = &h;
    job.vWeights = &v;
    job.toLinear = toLinear;
    job.fromLinear = fromLinear;
    job.dstWidth = 1;
    job.dstHeight = 1;
    job.horizontalOrder = order;
    PIXEL_YC out{};
    Resize(job, &out, 1);
    testing_support::FreeWeightTable(h);
    testing_support::FreeWeightTable(v);
    return out;
}

TEST(ReferenceModel, HalfOfFullScaleComesOutAsWorkedByHand) {
    const TGammaTables &tables = testing_support::SharedGammaTables();
    // 65535 / 2 = 32767.5 rounds to 32768, code 2989; its YCbCr by the
    // 16-bit formulas is (2987, −2, −2).
    const OneOutput across{{Grey(4096), Grey(0)}, 2, 1, {{0, {0.5f, 0.5f}}}, {{0, {1.0f}}}};
    const OneOutput down{{Grey(0), Grey(4096)}, 1, 2, {{0, {1.0f}}}, {{0, {0.5f, 0.5f}}}};
    for (const OneOutput *o : {&across, &down}) {
        const PIXEL_YC p =
            ResizeToOne(*o, tables.GammaToLinear(), tables.LinearToGamma(), TapOrder::InOrder);
        EXPECT_EQ(p.y, 2987);
        EXPECT_EQ(p.cb, -2);
        EXPECT_EQ(p.cr, -2);
    }
}

// The order switch applies to the horizontal pass only.
TEST(ReferenceModel, OrderSwitchChangesOnlyTheHorizontalPass) {
    std::vector<float> toLinear(4097, 0.0f);
    toLinear[100] = 16777216.0f;
    toLinear[200] = 1.0f;
    toLinear[300] = -16777216.0f;
    std::vector<int16_t> fromLinear(65536, 0);
    fromLinear[1] = 1000;
    fromLinear[2] = 2000;
    const std::vector<PIXEL_YC> line = {Grey(100), Grey(200), Grey(300), Grey(200)};
    const testing_support::TapList four{0, {1, 1, 1, 1}}, one{0, {1}};
    const OneOutput across{line, 4, 1, {four}, {one}};
    const OneOutput down{line, 1, 4, {one}, {four}};
    const PIXEL_YC inOrder = PixelOf(Codes{1000, 1000, 1000});
    const PIXEL_YC evenOdd = PixelOf(Codes{2000, 2000, 2000});
    EXPECT_EQ(ResizeToOne(across, toLinear.data(), fromLinear.data(), TapOrder::InOrder).y,
              inOrder.y);
    EXPECT_EQ(ResizeToOne(across, toLinear.data(), fromLinear.data(), TapOrder::EvenOddPairs).y,
              evenOdd.y);
    EXPECT_EQ(ResizeToOne(down, toLinear.data(), fromLinear.data(), TapOrder::EvenOddPairs).y,
              inOrder.y);
}

}  // namespace
