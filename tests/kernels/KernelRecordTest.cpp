// The kernel's record and its buffer sizes, the same for every kernel.
#include <random>

#include "kernels/common/KernelGeometry.h"
#include "resize/TileTables.h"
#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelContext.h"

namespace {

using testing_support::Geometry;
using testing_support::RandomTaps;
using testing_support::TKernelContext;

LinearFilterContext Heights(int32_t src, int32_t dst) {
    LinearFilterContext c{};
    c.srcWidth = 64;
    c.dstWidth = 64;
    c.srcHeight = src;
    c.dstHeight = dst;
    return c;
}

constexpr int32_t Group = 3584;

TEST_P(KernelTest, RecordPublishesTheGeometryItsProcessImplements) {
    const LinearFilterPluginInfo &k = Kernel();
    EXPECT_EQ(k.tileWidth, 64);
    EXPECT_EQ(k.tileHeight, 160);
    EXPECT_EQ(k.rowPitch, 896);
}

TEST_P(KernelTest, StripBufferHoldsOneColumnMoreThanTheSourceInWhole128ByteBlocks) {
    LinearFilterContext c{};
    c.srcWidth = 1280;
    EXPECT_EQ(Kernel().GetStripBufferSize(&c, 8), 61568);
    for (int32_t w : {1, 2, 3, 63, 64, 65, 719, 1919, 1920, 4096}) {
        c.srcWidth = w;
        const int32_t size = Kernel().GetStripBufferSize(&c, 0);
        EXPECT_EQ(size % 128, 0) << w;
        EXPECT_GE(size, (w + 1) * 48) << w;
        EXPECT_LT(size, (w + 1) * 48 + 128) << w;
    }
}

// Groups for the rows a tile row's taps can span; each thread gets one spare
// group on top.
TEST_P(KernelTest, RowBufferHasTheTileSpanGroupsPlusOneSpare) {
    LinearFilterContext reduce = Heights(720, 480), enlarge = Heights(480, 1080),
                        same = Heights(720, 720);
    EXPECT_EQ(Kernel().GetRowBufferSize(&reduce, 8), 66 * Group + 896 + Group);
    EXPECT_EQ(Kernel().GetRowBufferSize(&enlarge, 8), 22 * Group + 896 + Group);
    EXPECT_EQ(Kernel().GetRowBufferSize(&same, 8), 44 * Group + 896 + Group);
    // Only the heights decide: a wider, less tall frame is sized as a reduction.
    LinearFilterContext wider = Heights(720, 480);
    wider.srcWidth = 640;
    wider.dstWidth = 1920;
    EXPECT_EQ(Kernel().GetRowBufferSize(&wider, 8), 66 * Group + 896 + Group);
    LinearFilterContext noRadius = Heights(720, 720);
    EXPECT_EQ(Kernel().GetRowBufferSize(&noRadius, 0), 40 * Group + 896 + Group);
}

// Rows a tile converts: whole groups of four from its first to its last.
int32_t ConvertedRows(const LinearFilterContext &c, int32_t tile) {
    const VerticalTile &v = c.vTiles[tile];
    const int32_t last = tile * 160 + 159 < c.dstHeight ? tile * 160 + 159 : c.dstHeight - 1;
    const WeightEntry &e = c.vWeights.entries[last];
    const int32_t lastRow = e.start / 896 + kernel_geometry::TapCount(e) - 1;
    return (lastRow / 4 - v.firstGroup + 1) * 4;
}

// For window functions of radius 8 over many height pairs, every tile's rows
// fit the row buffer, and the spare group is what makes some of them fit.
TEST_P(KernelTest, RowBufferHoldsEveryTileOfRadius8Tables) {
    std::mt19937 rng(8);
    int beyondSpanGroups = 0;
    for (int32_t src = 1; src <= 700; src += 13)
        for (int32_t dst : {1, 7, 100, 159, 161, 333, 480, 719, 720, 1080}) {
            const Geometry g{1, src, 1, dst, 1};
            TKernelContext context(Kernel(), g, 1, testing_support::SingleTaps(1, 1),
                                   RandomTaps(src, dst, 8.0, rng, true));
            const LinearFilterContext &c = context.Context();
            for (int32_t t = 0; t < c.tilesDown; ++t) {
                const int32_t rows = ConvertedRows(c, t);
                ASSERT_LE(rows * 896, c.rowBufferSize) << src << " -> " << dst << " tile " << t;
                beyondSpanGroups += rows * 896 > c.rowBufferSize - Group;
            }
        }
    EXPECT_GT(beyondSpanGroups, 0) << "no tile reached the alignment worst case";
}

}  // namespace
