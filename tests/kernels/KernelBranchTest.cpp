// Every combination of enlarged, reduced and equal per axis (the HQ
// kernels' branches: the clamp per enlarged axis, sigmoidal light only when
// nothing is reduced), with window-like tables that reach both sides and
// ring, and with enlargements from one or two source samples, where the
// clamp's nearest pair meets the image's edge. Bit for bit against the
// reference, on every kernel.
#include <cmath>
#include <random>
#include <vector>

#include "tests/kernels/KernelFixture.h"
#include "tests/support/KernelCheck.h"

namespace {

using testing_support::KernelCase;
using testing_support::MatchesReference;
using testing_support::RandomTaps;

struct AxisCase {
    const char *name;
    int32_t src, dst;
};

const AxisCase Axes[] = {{"enlarged", 53, 141}, {"reduced", 170, 67}, {"equal", 90, 90}};

TEST_P(KernelTest, EveryAxisCombinationMatchesTheReference) {
    std::mt19937 rng(30);
    uint32_t seed = 300;
    for (const AxisCase &across : Axes)
        for (const AxisCase &down : Axes) {
            SCOPED_TRACE(testing::Message() << "across " << across.name << ", down " << down.name);
            for (double radius : {1.0, 2.0, 3.0}) {
                KernelCase c;
                c.geometry = {across.src, down.src, across.dst, down.dst,
                              std::max(across.src, across.dst) + 3};
                c.threads = 2;
                c.seed = seed++;
                const testing_support::TapTable columns =
                    RandomTaps(across.src, across.dst, radius, rng, true);
                const testing_support::TapTable rows =
                    RandomTaps(down.src, down.dst, radius, rng, true);
                EXPECT_TRUE(MatchesReference(Kernel(), c, columns, rows, Model()))
                    << "radius " << radius;
                // The HQ steps are at work: without them the model differs.
                if (HighQuality()) {
                    EXPECT_FALSE(MatchesReference(Kernel(), c, columns, rows,
                                                  testing_support::KernelModel(Order(), false)))
                        << "radius " << radius;
                }
            }
        }
}

// Taps that reach only some of the way (so the nearest pair may lie beyond
// an entry's taps and is kept inside them), and a single tap.
TEST_P(KernelTest, ShortReachesAndSingleTapsMatchTheReference) {
    std::mt19937 rng(31);
    const testing_support::Geometry sizes[] = {
        {40, 30, 203, 97, 203}, {40, 130, 203, 97, 203}, {140, 30, 97, 203, 140}};
    for (const testing_support::Geometry &g : sizes) {
        SCOPED_TRACE(testing::Message() << g.srcWidth << "x" << g.srcHeight << " to " << g.dstWidth
                                        << "x" << g.dstHeight);
        for (double radius : {0.3, 1.5}) {
            KernelCase c;
            c.geometry = g;
            c.seed = uint32_t(radius * 10);
            EXPECT_TRUE(
                MatchesReference(Kernel(), c, RandomTaps(g.srcWidth, g.dstWidth, radius, rng),
                                 RandomTaps(g.srcHeight, g.dstHeight, radius, rng), Model()))
                << "radius " << radius;
        }
        KernelCase c;
        c.geometry = g;
        EXPECT_TRUE(
            MatchesReference(Kernel(), c, testing_support::SingleTaps(g.srcWidth, g.dstWidth),
                             testing_support::SingleTaps(g.srcHeight, g.dstHeight), Model()))
            << "single taps";
    }
}

TEST_P(KernelTest, EnlargementsFromOneOrTwoSamplesMatchTheReference) {
    std::mt19937 rng(32);
    const testing_support::Geometry sizes[] = {
        {1, 1, 70, 170, 70}, {2, 2, 130, 9, 130}, {2, 1, 3, 333, 8}, {1, 2, 67, 2, 67}};
    for (const testing_support::Geometry &g : sizes) {
        KernelCase c;
        c.geometry = g;
        c.threads = 3;
        EXPECT_TRUE(MatchesReference(Kernel(), c,
                                     RandomTaps(g.srcWidth, g.dstWidth, 3.0, rng, true),
                                     RandomTaps(g.srcHeight, g.dstHeight, 3.0, rng, true), Model()))
            << g.srcWidth << "x" << g.srcHeight << " to " << g.dstWidth << "x" << g.dstHeight;
    }
}

}  // namespace

namespace {

// Forward tables of other exponents, handed in turn with the shared gamma
// 2.2 one: more table sets than the HQ kernels keep (two), so each comes
// back after being replaced, and every frame must still match.
TEST_P(KernelTest, ChangingForwardTablesMatchTheReference) {
    std::vector<std::vector<float>> tables;
    for (double gamma : {1.0, 1.8, 2.6}) {
        std::vector<float> t(4097);
        for (int32_t i = 0; i <= 4096; ++i)
            t[size_t(i)] = float(std::pow(i / 4096.0, gamma) * 65535.0);
        tables.push_back(std::move(t));
    }
    std::mt19937 rng(33);
    const testing_support::Geometry g{60, 50, 150, 130, 150};
    const testing_support::TapTable columns = RandomTaps(60, 150, 3.0, rng, true);
    const testing_support::TapTable rows = RandomTaps(50, 130, 3.0, rng, true);
    for (int round = 0; round < 2; ++round)
        for (size_t k = 0; k <= tables.size(); ++k) {
            KernelCase c;
            c.geometry = g;
            c.threads = 2;
            c.seed = uint32_t(10 * round + k);
            c.toLinear = k < tables.size() ? tables[k].data() : nullptr;  // null: gamma 2.2
            EXPECT_TRUE(MatchesReference(Kernel(), c, columns, rows, Model()))
                << "round " << round << ", table " << k;
        }
}

}  // namespace
