// Window functions the kernels must never see as they are: radii beyond
// their buffers and values that cannot be normalised.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "resize/NormalWeightSetter.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WeightTableView.h"
#include "tests/support/WindowFuncLibrary.h"

using testing_support::OwnedWeightTable;
using testing_support::TapsOf;

namespace {

// A test library loaded by path for the length of one test.
class TTestLibrary : public testing_support::TWindowFuncLibrary {
public:
    explicit TTestLibrary(const std::string &name)
        : TWindowFuncLibrary(testing_support::TestBinDir() + name + ".dll") {}
    int32_t LiveContexts() const {
        auto live = reinterpret_cast<int32_t(MV_CDECL *)(void)>(Symbol("WfLiveContexts"));
        return live ? live() : -1;
    }
};

OwnedWeightTable Build(TNormalWeightSetter &builder, int32_t src, int32_t dst) {
    OwnedWeightTable t;
    if (dst < src)
        builder.SetReduceWeights(&t.table, src, dst, 48);
    else
        builder.SetEnlargeWeights(&t.table, src, dst, 48);
    t.count = dst;
    return t;
}

// What every table must give the kernels, whatever the window function.
void ExpectUsableTable(const OwnedWeightTable &t, int32_t src, int32_t dst) {
    for (int32_t i = 0; i < dst; ++i) {
        SCOPED_TRACE(testing::Message() << src << " -> " << dst << ", position " << i);
        const auto taps = TapsOf(t.table, i);
        ASSERT_GE(taps.size(), 1u);
        const int32_t first = t.table.entries[i].start / 48;
        ASSERT_GE(first, 0);
        ASSERT_LE(first + int32_t(taps.size()), src);
        double sum = 0;
        for (float w : taps) {
            ASSERT_TRUE(std::isfinite(w));
            sum += w;
        }
        EXPECT_NEAR(sum, 1.0, 1e-5);
    }
}

// Only the source sample under the position's centre has weight, and it is 1.
void ExpectNearestSample(const OwnedWeightTable &t, int32_t src, int32_t dst) {
    for (int32_t i = 0; i < dst; ++i) {
        SCOPED_TRACE(testing::Message() << src << " -> " << dst << ", position " << i);
        const int32_t nearest = int32_t((i + 0.5) * src / dst);
        const auto taps = TapsOf(t.table, i);
        const int32_t first = t.table.entries[i].start / 48;
        for (int32_t k = 0; k < int32_t(taps.size()); ++k)
            EXPECT_EQ(taps[std::size_t(k)], first + k == nearest ? 1.0f : 0.0f) << "tap " << k;
    }
}

const std::pair<int32_t, int32_t> kSizes[] = {{8, 8}, {4, 8}, {8, 4}, {1, 3}, {13, 5}};

TEST(WeightSetterGuard, RadiusOutsideOneToEightIsRefused) {
    TTestLibrary lib("wf_radius");
    ASSERT_TRUE(lib.Loaded());
    const WindowFuncPluginInfo *info = lib.Record("ParamRadius");
    ASSERT_NE(info, nullptr);
    for (int32_t radius : {0, 9, 65535, -1, 16}) {
        SCOPED_TRACE(testing::Message() << "radius " << radius);
        TNormalWeightSetter builder;
        EXPECT_FALSE(builder.SetWindowFunc(info, radius));
        EXPECT_FALSE(builder.HasWindowFunc());
        EXPECT_EQ(builder.Radius(), 0);
        EXPECT_EQ(lib.LiveContexts(), 0);  // the refused context was released
        for (auto [src, dst] : kSizes) {
            auto t = Build(builder, src, dst);
            ExpectNearestSample(t, src, dst);
        }
    }
    for (int32_t radius : {1, 8}) {
        TNormalWeightSetter builder;
        EXPECT_TRUE(builder.SetWindowFunc(info, radius));
        EXPECT_EQ(builder.Radius(), radius);
        EXPECT_EQ(lib.LiveContexts(), 1);
        for (auto [src, dst] : kSizes) ExpectUsableTable(Build(builder, src, dst), src, dst);
    }
    EXPECT_EQ(lib.LiveContexts(), 0);
}

TEST(WeightSetterGuard, ValuesThatCannotBeNormalisedGiveNearestSample) {
    TTestLibrary lib("wf_bad");
    ASSERT_TRUE(lib.Loaded());
    for (const char *name : {"Zero", "NaN", "Huge"}) {
        SCOPED_TRACE(name);
        TNormalWeightSetter builder;
        builder.SetWindowFunc(lib.Record(name), 0);
        ASSERT_TRUE(builder.HasWindowFunc());
        for (auto [src, dst] : kSizes) {
            auto t = Build(builder, src, dst);
            ExpectUsableTable(t, src, dst);
            ExpectNearestSample(t, src, dst);
        }
    }
    // Values that cancel to a sum so small that a weight divided by it is
    // no float. Equal sizes put them on the taps of position 4.
    TNormalWeightSetter builder;
    builder.SetWindowFunc(lib.Record("Overflow"), 0);
    ASSERT_TRUE(builder.HasWindowFunc());
    for (auto [src, dst] : kSizes) ExpectUsableTable(Build(builder, src, dst), src, dst);
    EXPECT_EQ(TapsOf(Build(builder, 8, 8).table, 4), (std::vector<float>{0, 1, 0, 0}));
}

TEST(WeightSetterGuard, NonFiniteValuesCountAsZero) {
    TTestLibrary lib("wf_bad");
    ASSERT_TRUE(lib.Loaded());
    for (const char *name : {"NaNCentre", "Infinite"}) {
        SCOPED_TRACE(name);
        TNormalWeightSetter builder;
        builder.SetWindowFunc(lib.Record(name), 0);
        ASSERT_TRUE(builder.HasWindowFunc());
        for (auto [src, dst] : kSizes) ExpectUsableTable(Build(builder, src, dst), src, dst);
    }
    // Equal sizes, NaN at distance 0 only: the other three taps share the weight.
    TNormalWeightSetter builder;
    builder.SetWindowFunc(lib.Record("NaNCentre"), 0);
    auto t = Build(builder, 8, 8);
    const auto taps = TapsOf(t.table, 4);
    ASSERT_EQ(taps.size(), 4u);
    EXPECT_EQ(taps, (std::vector<float>{1 / 3.0f, 0, 1 / 3.0f, 1 / 3.0f}));
}

TEST(WeightSetterGuard, EmptyTargetGivesTableWithoutPositions) {
    TTestLibrary lib("wf_radius");
    TNormalWeightSetter builder;
    ASSERT_TRUE(builder.SetWindowFunc(lib.Record("ParamRadius"), 2));
    OwnedWeightTable t;
    builder.SetReduceWeights(&t.table, 8, 0, 48);
    EXPECT_NE(t.table.values, nullptr);
    EXPECT_NE(t.table.entries, nullptr);
}

}  // namespace
