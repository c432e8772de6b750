#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "resize/NormalWeightSetter.h"
#include "tests/support/WeightTableView.h"

using testing_support::OwnedWeightTable;
using testing_support::TapsOf;

namespace {

// An in-process window function of radius 2 that records how it is used.
struct TProbe {
    std::vector<double> distances;
    std::vector<std::string> events;
    std::vector<void *> contexts;  // as passed to Weight
    double (*shape)(double) = nullptr;
    bool nullContext = false;
    int nextId = 0;
} Probe;

void *MV_CDECL ProbeCreate(int32_t param) {
    Probe.events.push_back("create " + std::to_string(param));
    return Probe.nullContext ? nullptr : new int(++Probe.nextId);
}
double MV_CDECL ProbeWeight(double x, void *context) {
    Probe.distances.push_back(x);
    Probe.contexts.push_back(context);
    return Probe.shape(x);
}
int32_t MV_CDECL ProbeRadius(void *) { return 2; }
void MV_CDECL ProbeDestroy(void *context) {
    Probe.events.push_back("destroy " + (context ? std::to_string(*static_cast<int *>(context))
                                                 : std::string("null")));
    delete static_cast<int *>(context);
}

const WindowFuncPluginInfo kProbe = {"Probe", nullptr,     0,           0,           0,
                                     0,       ProbeCreate, ProbeWeight, ProbeRadius, ProbeDestroy};

double Tent(double x) { return std::fabs(x) < 2 ? 2 - std::fabs(x) : 0; }
double Interpolating(double x) { return std::fabs(x) < 1 ? 1 - std::fabs(x) : 0; }
double Constant(double) { return 3; }
// Values far apart in scale that cancel: summed tap by tap, the 1e300 swallows
// the first 1 before the -1e300 removes it again.
double Cancelling(double x) {
    if (std::fabs(x + 0.5) < 0.1 || std::fabs(x - 1.5) < 0.1) return 1;
    if (std::fabs(x - 1 / 6.0) < 0.1) return 1e300;
    if (std::fabs(x - 5 / 6.0) < 0.1) return -1e300;
    return 0;
}

class NormalWeightSetter : public testing::Test {
protected:
    void SetUp() override { Probe = TProbe(); }

    OwnedWeightTable Build(double (*shape)(double), int32_t src, int32_t dst, int32_t unit) {
        Probe.shape = shape;
        TNormalWeightSetter builder;
        builder.SetWindowFunc(&kProbe, 0);
        Probe.distances.clear();
        return testing_support::BuildTable(builder, src, dst, unit);
    }
};

void ExpectPosition(const OwnedWeightTable &t, int32_t pos, int32_t start,
                    const std::vector<double> &weights) {
    SCOPED_TRACE(testing::Message() << "position " << pos);
    EXPECT_EQ(t.table.entries[pos].start, start);
    const auto taps = TapsOf(t.table, pos);
    ASSERT_EQ(taps.size(), weights.size());
    for (std::size_t k = 0; k < taps.size(); ++k)
        EXPECT_EQ(taps[k], float(weights[k])) << "tap " << k;
}

std::vector<double> Slice(const std::vector<double> &v, std::size_t from, std::size_t count) {
    return std::vector<double>(v.begin() + from, v.begin() + from + count);
}

TEST_F(NormalWeightSetter, Reduce8To4TapsDistancesAndFolding) {
    auto t = Build(Tent, 8, 4, 48);
    ASSERT_EQ(Probe.distances.size(), 4u * 8u);
    const std::vector<double> steps = {-1.75, -1.25, -0.75, -0.25, 0.25, 0.75, 1.25, 1.75};
    for (std::size_t pos = 0; pos < 4; ++pos) EXPECT_EQ(Slice(Probe.distances, pos * 8, 8), steps);
    // Tent values at those distances are 0.25, 0.75, ..., 1.75, 1.75, ..., 0.25; sum 8.
    ExpectPosition(t, 0, 0, {4 / 8.0, 1.75 / 8, 1.25 / 8, 0.75 / 8, 0.25 / 8});
    ExpectPosition(t, 1, 0, {1 / 8.0, 1.25 / 8, 1.75 / 8, 1.75 / 8, 1.25 / 8, 0.75 / 8, 0.25 / 8});
    ExpectPosition(t, 2, 48, {0.25 / 8, 0.75 / 8, 1.25 / 8, 1.75 / 8, 1.75 / 8, 1.25 / 8, 1 / 8.0});
    ExpectPosition(t, 3, 3 * 48, {0.25 / 8, 0.75 / 8, 1.25 / 8, 1.75 / 8, 4 / 8.0});
}

TEST_F(NormalWeightSetter, Enlarge4To8TapsDistancesAndFolding) {
    auto t = Build(Tent, 4, 8, 896);
    ASSERT_EQ(Probe.distances.size(), 8u * 4u);
    EXPECT_EQ(Slice(Probe.distances, 0, 4), (std::vector<double>{-1.75, -0.75, 0.25, 1.25}));
    EXPECT_EQ(Slice(Probe.distances, 4, 4), (std::vector<double>{-1.25, -0.25, 0.75, 1.75}));
    // Position 0: taps -2, -1, 0 fold onto sample 0 (0.25 + 1.25 + 1.75 of 4).
    ExpectPosition(t, 0, 0, {3.25 / 4, 0.75 / 4});
    ExpectPosition(t, 1, 0, {2.5 / 4, 1.25 / 4, 0.25 / 4});
    ExpectPosition(t, 2, 0, {1.5 / 4, 1.75 / 4, 0.75 / 4});
    ExpectPosition(t, 3, 0, {0.75 / 4, 1.75 / 4, 1.25 / 4, 0.25 / 4});
    ExpectPosition(t, 7, 2 * 896, {0.75 / 4, 3.25 / 4});
}

TEST_F(NormalWeightSetter, EqualSizesInterpolatingWindowIsIdentity) {
    auto t = Build(Interpolating, 7, 7, 48);
    for (int32_t i = 0; i < 7; ++i)
        EXPECT_EQ(Slice(Probe.distances, std::size_t(i) * 4, 4),
                  (std::vector<double>{-1, 0, 1, 2}));
    ExpectPosition(t, 0, 0, {1, 0, 0});
    for (int32_t i = 1; i < 5; ++i) ExpectPosition(t, i, (i - 1) * 48, {0, 1, 0, 0});
    ExpectPosition(t, 5, 4 * 48, {0, 1, 0});
    ExpectPosition(t, 6, 5 * 48, {0, 1});
}

TEST_F(NormalWeightSetter, SingleSourceSampleFoldsEverything) {
    auto t = Build(Tent, 1, 5, 48);
    for (int32_t i = 0; i < 5; ++i) ExpectPosition(t, i, 0, {1});
}

TEST_F(NormalWeightSetter, ConstantWindowGivesEqualInnerWeightsAndEdgeMultiples) {
    auto up = Build(Constant, 8, 16, 1);
    ExpectPosition(up, 0, 0, {3 / 4.0, 1 / 4.0});
    ExpectPosition(up, 8, 2, {0.25, 0.25, 0.25, 0.25});
    ExpectPosition(up, 15, 6, {1 / 4.0, 3 / 4.0});
    auto down = Build(Constant, 8, 4, 1);
    ExpectPosition(down, 0, 0, {4 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0});
    ExpectPosition(down, 1, 0, {2 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0, 1 / 8.0});
    auto wide = Build(Constant, 64, 4, 1);  // 64 taps, all inside for no position
    for (int32_t i = 0; i < 4; ++i) {
        const auto taps = TapsOf(wide.table, i);
        for (std::size_t k = 1; k + 1 < taps.size(); ++k) EXPECT_EQ(taps[k], 1 / 64.0f);
        const double edges = (taps.front() + taps.back()) * 64;
        EXPECT_EQ(edges, std::round(edges)) << "position " << i;
    }
}

TEST_F(NormalWeightSetter, ValuesThatCancelAreNormalisedByWhatIsStored) {
    // Position 1 of 3 -> 2: taps -1 ... 4 at -11/6, -7/6, -1/2, 1/6, 5/6, 3/2;
    // taps 2 ... 4 fold onto sample 2, where 1e300 - 1e300 + 1 leaves 1.
    auto t = Build(Cancelling, 3, 2, 1);
    ExpectPosition(t, 1, 0, {0, 0.5, 0.5});
}

// The kernels walk the block by the entries, so each count must sit right
// before its weights and every record right after the previous one.
TEST_F(NormalWeightSetter, ValueBlockHasNoGaps) {
    for (auto [src, dst] : {std::pair{8, 4}, {4, 8}, {37, 11}, {11, 37}, {1, 3}, {5, 5}}) {
        SCOPED_TRACE(testing::Message() << src << " -> " << dst);
        auto t = Build(Tent, src, dst, 48);
        const int64_t taps = dst < src ? (4 * int64_t(src) + dst - 1) / dst : 4;
        const char *block = static_cast<const char *>(t.table.values);
        const char *expected = block + 4;
        for (int32_t i = 0; i < dst; ++i) {
            const char *weights = reinterpret_cast<const char *>(t.table.entries[i].weights);
            ASSERT_EQ(weights, expected) << "position " << i;
            const auto count = reinterpret_cast<const int32_t *>(weights)[-1];
            ASSERT_GE(count, 1);
            ASSERT_LE(count, taps);
            expected = weights + 4 * count + 4;
        }
        EXPECT_LE(expected - 4 - block, (4 * taps + 8) * dst);
    }
}

TEST_F(NormalWeightSetter, ContextsMadeAndReleasedOncePerAttachment) {
    {
        auto first = std::make_unique<TNormalWeightSetter>();
        EXPECT_TRUE(first->SetWindowFunc(&kProbe, 65535));  // passed on unchanged
        // Applying the configuration again makes the next builder first.
        auto second = std::make_unique<TNormalWeightSetter>();
        EXPECT_TRUE(second->SetWindowFunc(&kProbe, 4));
        first.reset();
        second->SetWindowFunc(&kProbe, 5);  // the old context goes first
        second->ReleaseWindowFunc();
        EXPECT_FALSE(second->HasWindowFunc());
        second->ReleaseWindowFunc();
    }
    EXPECT_EQ(Probe.events, (std::vector<std::string>{"create 65535", "create 4", "destroy 1",
                                                      "destroy 2", "create 5", "destroy 3"}));
}

TEST_F(NormalWeightSetter, NullContextStillAttachesAndIsPassedOn) {
    Probe.nullContext = true;
    Probe.shape = Tent;
    {
        TNormalWeightSetter builder;
        EXPECT_FALSE(builder.SetWindowFunc(&kProbe, 2));
        EXPECT_TRUE(builder.HasWindowFunc());
        OwnedWeightTable t;
        builder.SetEnlargeWeights(&t.table, 2, 3, 1);
    }
    EXPECT_EQ(Probe.contexts, std::vector<void *>(3 * 4, nullptr));
    EXPECT_EQ(Probe.events, (std::vector<std::string>{"create 2", "destroy null"}));
}

TEST_F(NormalWeightSetter, RecordsWithoutFunctionsAreRefused) {
    TNormalWeightSetter builder;
    EXPECT_FALSE(builder.SetWindowFunc(nullptr, 1));
    WindowFuncPluginInfo partial = kProbe;
    partial.Weight = nullptr;
    EXPECT_FALSE(builder.SetWindowFunc(&partial, 1));
    EXPECT_FALSE(builder.HasWindowFunc());
    EXPECT_TRUE(Probe.events.empty());
}

}  // namespace
