// Memory behaviour beyond the bare contract: a radius-8 tile that converts
// more rows than its taps span in whole groups, reads at the very end of
// the host's frame, partial 8-column groups at the end of a line, and frames
// without 16-byte alignment. Each checks identical pixels against the
// reference, untouched guard zones and untouched pixels outside the image.
#include <random>
#include <vector>

#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelCheck.h"
#include "tests/support/TestFrames.h"

namespace {

using testing_support::Geometry;
using testing_support::KernelCase;
using testing_support::MatchesReference;
using testing_support::RandomTaps;
using testing_support::TapTable;

struct HeightPair {
    int32_t src, dst;
};

// Rows that the span's groups without the spare one (4 × groups + 1) leave
// no room for in the worst tile of a full-reach table; zero or less when it
// fits.
int32_t RowsBeyondSpanGroups(const LinearFilterPluginInfo &k, const TapTable &rows, int32_t src,
                             int32_t dst) {
    LinearFilterContext c{};
    c.srcHeight = src;
    c.dstHeight = dst;
    const int32_t capacity = (k.GetRowBufferSize(&c, 8) - 3584) / 896;
    int32_t worst = -capacity;
    for (int32_t first = 0; first < dst; first += 160) {
        const int32_t last = std::min(first + 159, dst - 1);
        const int32_t lastRow = rows[last].first + int32_t(rows[last].weights.size()) - 1;
        const int32_t converted = (lastRow / 4 - rows[first].first / 4 + 1) * 4;
        worst = std::max(worst, converted - capacity);
    }
    return worst;
}

TEST_P(KernelTest, Radius8TablesAtTheWorstAlignmentStayInsideTheRowBuffer) {
    std::mt19937 rng(3);
    std::vector<HeightPair> worst;
    for (int32_t src = 170; src < 900 && worst.size() < 4; src += 7)
        for (int32_t dst : {src, src - 50, src + 61, 2 * src + 1}) {
            const TapTable rows = RandomTaps(src, dst, 8.0, rng, true);
            if (RowsBeyondSpanGroups(Kernel(), rows, src, dst) > 0) worst.push_back({src, dst});
        }
    ASSERT_FALSE(worst.empty()) << "no height pair reaches the worst case";
    for (const HeightPair &h : worst) {
        // One thread: its buffer is the last, directly before the guard zone.
        for (int32_t threads : {1, 3}) {
            KernelCase c;
            c.geometry = {70, h.src, 75, h.dst, 75};
            c.threads = threads;
            c.seed = uint32_t(h.src);
            EXPECT_TRUE(MatchesReference(Kernel(), c, RandomTaps(70, 75, 8.0, rng, true),
                                         RandomTaps(h.src, h.dst, 8.0, rng, true), Model()))
                << h.src << " -> " << h.dst << " rows, " << threads << " threads";
        }
    }
}

// Beyond the contract (a reach of 30 rows) the kernel leaves tiles undone
// rather than write past its row buffer.
TEST_P(KernelTest, TablesBeyondTheRowBufferBoundDoNotOverrunIt) {
    std::mt19937 rng(30);
    const Geometry g{40, 400, 40, 400, 40};
    testing_support::TKernelContext context(Kernel(), g, 1, RandomTaps(40, 40, 1.0, rng),
                                            RandomTaps(400, 400, 30.0, rng, true));
    testing_support::TTestFrame src(40, 400), dst(40, 400);
    testing_support::FillRandomPixels(src.Pixels(), 40, 40, 400, 5);
    testing_support::RunProcess(Kernel(), context.Context(), dst.Pixels(), src.Pixels(), 1);
    EXPECT_TRUE(context.ScratchGuardsIntact());
    EXPECT_TRUE(dst.UntouchedOutside(40, 400));
}

// The image fills the frame and the frame ends at an inaccessible page: the
// last column pair and row group must not read past the frame.
TEST_P(KernelTest, ImagesThatFillTheFrameAreReadOnlyInside) {
    const Geometry frames[] = {{65, 161, 33, 101, 65}, {67, 157, 67, 157, 67},
                               {1, 1, 1, 1, 1},        {127, 1, 64, 1, 127},
                               {3, 250, 2, 7, 3},      {129, 322, 100, 322, 129}};
    std::mt19937 rng(4);
    for (const Geometry &g : frames) {
        KernelCase c;
        c.geometry = g;
        c.threads = 2;
        c.srcAtPageEnd = true;
        EXPECT_TRUE(MatchesReference(Kernel(), c,
                                     RandomTaps(g.srcWidth, g.dstWidth, 3.0, rng, true),
                                     RandomTaps(g.srcHeight, g.dstHeight, 3.0, rng, true), Model()))
            << g.srcWidth << " x " << g.srcHeight;
    }
}

// Lines of a width that is no multiple of 8, and images narrower than the
// line: a partial group writes only the pixels inside the image.
TEST_P(KernelTest, PartialColumnGroupsStayInsideTheirLine) {
    const Geometry frames[] = {{50, 40, 67, 50, 67}, {90, 40, 61, 50, 67}, {5, 5, 9, 170, 9},
                               {80, 40, 67, 50, 72}, {3, 3, 1, 1, 1},      {140, 9, 131, 9, 131}};
    std::mt19937 rng(5);
    for (const Geometry &g : frames) {
        KernelCase c;
        c.geometry = g;
        c.threads = 2;
        EXPECT_TRUE(MatchesReference(Kernel(), c, RandomTaps(g.srcWidth, g.dstWidth, 2.0, rng),
                                     RandomTaps(g.srcHeight, g.dstHeight, 2.0, rng), Model()))
            << g.dstWidth << " of " << g.maxWidth << " pixels per line";
    }
}

// Frames off a 16-byte boundary, and a line pitch that is no multiple of 16,
// fall back to ordinary stores with identical results.
TEST_P(KernelTest, UnalignedFramesGiveTheSameResult) {
    std::mt19937 rng(6);
    const TapTable columns = RandomTaps(150, 200, 4.0, rng);
    const TapTable rows = RandomTaps(170, 180, 4.0, rng);
    const int32_t offsets[][2] = {{0, 2}, {2, 6}, {10, 8}, {4, 12}};
    for (const auto &o : offsets)
        for (int32_t maxW : {200, 203}) {
            KernelCase c;
            c.geometry = {150, 170, 200, 180, maxW};
            c.threads = 2;
            c.srcOffset = o[0];
            c.dstOffset = o[1];
            EXPECT_TRUE(MatchesReference(Kernel(), c, columns, rows, Model()))
                << "source +" << o[0] << ", destination +" << o[1] << ", " << maxW
                << " pixels per line";
        }
}

}  // namespace
