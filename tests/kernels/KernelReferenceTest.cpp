// The kernel against the reference model in its horizontal tap order, bit
// for bit: sizes around the tile
// edges, reductions and enlargements per direction, random valid tables with
// 1 to 17 taps and negative lobes, and 1 to 64 threads racing for tiles.
#include <cmath>
#include <random>
#include <vector>

#include "resize/AreaAverage.h"
#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelCheck.h"

namespace {

using testing_support::KernelCase;
using testing_support::MatchesReference;
using testing_support::RandomTaps;

struct SizeCase {
    const char *name;
    int32_t srcWidth, srcHeight, dstWidth, dstHeight;
};

const SizeCase Sizes[] = {
    {"1x1 kept", 1, 1, 1, 1},
    {"1x1 to four tiles", 1, 1, 65, 161},
    {"one column, rows reduced", 1, 300, 1, 161},
    {"one row, columns reduced", 300, 1, 65, 1},
    {"column to row", 1, 70, 70, 1},
    {"63x159 kept", 63, 159, 63, 159},
    {"64x160 kept", 64, 160, 64, 160},
    {"65x161 kept", 65, 161, 65, 161},
    {"width reduced, height enlarged", 200, 90, 63, 161},
    {"width enlarged, height reduced", 65, 400, 130, 159},
    {"both reduced", 500, 420, 129, 170},
    {"both enlarged", 40, 30, 201, 333},
    {"odd widths", 333, 77, 71, 93},
    {"1 to 7 columns", 19, 23, 7, 41},
    {"1920x1080 to 1280x720", 1920, 1080, 1280, 720},
    {"1280x720 to 1920x1080", 1280, 720, 1920, 1080},
};

TEST_P(KernelTest, RandomFramesAndTablesMatchTheReference) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> radius(0.3, 8.0);
    reference_model::Stats total;
    uint32_t seed = 1;
    for (const SizeCase &s : Sizes) {
        SCOPED_TRACE(s.name);
        // Frames exactly as wide as the larger image, and a little wider.
        for (int32_t slack : {0, 5}) {
            KernelCase c;
            const int32_t maxW = std::max(s.srcWidth, s.dstWidth) + slack;
            c.geometry = {s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight, maxW};
            c.threads = 1 + int32_t(seed % 4);
            c.seed = seed++;
            reference_model::Stats stats;
            EXPECT_TRUE(MatchesReference(
                Kernel(), c, RandomTaps(s.srcWidth, s.dstWidth, radius(rng), rng),
                RandomTaps(s.srcHeight, s.dstHeight, radius(rng), rng), Model(), &stats))
                << "frame width " << maxW << ", " << c.threads << " threads";
            total.belowZero += stats.belowZero;
            total.aboveTop += stats.aboveTop;
        }
    }
    // The sample must reach both clamps before the inverse table.
    EXPECT_GT(total.belowZero, 0);
    EXPECT_GT(total.aboveTop, 0);
}

// Every count takes its own path: one tap alone, pairs only, pairs and a
// single remainder.
TEST_P(KernelTest, EveryTapCountMatchesTheReference) {
    std::mt19937 rng(17);
    for (int32_t taps : {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17}) {
        KernelCase c;
        c.geometry = {150, 170, 90, 200, 152};
        c.seed = uint32_t(taps);
        EXPECT_TRUE(
            MatchesReference(Kernel(), c, testing_support::FixedTaps(150, 90, taps, rng, true),
                             testing_support::FixedTaps(170, 200, taps, rng, true), Model()))
            << taps << " taps";
    }
}

// 80 tiles shared by any number of threads give the same bytes.
TEST_P(KernelTest, ThreadCountDoesNotChangeTheResult) {
    std::mt19937 rng(64);
    const testing_support::TapTable columns = RandomTaps(700, 1000, 6.0, rng);
    const testing_support::TapTable rows = RandomTaps(500, 700, 6.0, rng);
    for (int32_t threads : {1, 2, 3, 7, 16, 64}) {
        KernelCase c;
        c.geometry = {700, 500, 1000, 700, 1000};
        c.threads = threads;
        c.seed = 99;
        EXPECT_TRUE(MatchesReference(Kernel(), c, columns, rows, Model())) << threads << " threads";
    }
}

// Tables from the built-in builder, including reductions with many taps.
TEST_P(KernelTest, AreaAverageTablesMatchTheReference) {
    TAreaAverage area;
    const SizeCase cases[] = {{"strong reduction", 1920, 1080, 100, 60},
                              {"mixed", 333, 222, 1000, 101},
                              {"odd enlargement", 97, 61, 301, 163}};
    for (const SizeCase &s : cases) {
        KernelCase c;
        c.geometry = {s.srcWidth, s.srcHeight, s.dstWidth, s.dstHeight,
                      std::max(s.srcWidth, s.dstWidth)};
        c.threads = 2;
        EXPECT_TRUE(
            MatchesReference(Kernel(), c, testing_support::TapsFrom(area, s.srcWidth, s.dstWidth),
                             testing_support::TapsFrom(area, s.srcHeight, s.dstHeight), Model()))
            << s.name;
    }
}

// Infinite linear values make sums of +inf, -inf and NaN (inf - inf): NaN
// must come out as code 0, like any sum below zero.
TEST_P(KernelTest, NonFiniteSumsAreClampedLikeTheReference) {
    std::vector<float> toLinear(4097);
    for (int32_t i = 0; i <= 4096; ++i)
        toLinear[i] = i < 1000 ? -INFINITY : i > 3000 ? INFINITY : float(i);
    std::mt19937 rng(11);
    KernelCase c;
    c.geometry = {90, 70, 60, 80, 90};
    c.toLinear = toLinear.data();
    EXPECT_TRUE(MatchesReference(Kernel(), c, RandomTaps(90, 60, 3.0, rng),
                                 RandomTaps(70, 80, 3.0, rng), Model()));
}

}  // namespace

// A caller that left another rounding mode, or flush-to-zero and
// denormals-are-zero, set gets the same bytes and its own state back.
TEST_P(KernelTest, CallersFloatingPointStateNeitherMattersNorChanges) {
    constexpr uint32_t TowardZero = 0x6000, FlushToZero = 0x8000, DenormalsAreZero = 0x0040;
    const struct {
        const char *what;
        uint32_t mxcsr;
    } states[] = {{"round toward zero", testing_support::DefaultMxcsr | TowardZero},
                  {"flush-to-zero and denormals-are-zero",
                   testing_support::DefaultMxcsr | FlushToZero | DenormalsAreZero}};
    std::mt19937 rng(5);
    const testing_support::TapTable columns = RandomTaps(300, 170, 4.0, rng, true);
    const testing_support::TapTable rows = RandomTaps(200, 230, 4.0, rng, true);
    for (const auto &s : states) {
        KernelCase c;
        c.geometry = {300, 200, 170, 230, 300};
        c.threads = 2;
        c.seed = 8;
        c.callerMxcsr = s.mxcsr;
        EXPECT_TRUE(MatchesReference(Kernel(), c, columns, rows, Model())) << s.what;
    }
}
