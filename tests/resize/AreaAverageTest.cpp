#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "resize/AreaAverage.h"
#include "tests/support/WeightTableView.h"

using testing_support::OwnedWeightTable;
using testing_support::TapsOf;

namespace {

OwnedWeightTable Build(int32_t src, int32_t dst, int32_t unit = 1) {
    TAreaAverage builder;
    return testing_support::BuildTable(builder, src, dst, unit);
}

void ExpectTaps(const OwnedWeightTable &t, int32_t pos, int32_t first, std::vector<double> weights,
                int32_t unit = 1) {
    const auto taps = TapsOf(t.table, pos);
    EXPECT_EQ(t.table.entries[pos].start, first * unit) << "position " << pos;
    ASSERT_EQ(taps.size(), weights.size()) << "position " << pos;
    for (std::size_t k = 0; k < taps.size(); ++k)
        EXPECT_FLOAT_EQ(taps[k], float(weights[k])) << "position " << pos << " tap " << k;
}

TEST(AreaAverage, WorkedExamples) {
    auto a = Build(3, 2);
    ExpectTaps(a, 0, 0, {2 / 3.0, 1 / 3.0});
    ExpectTaps(a, 1, 1, {1 / 3.0, 2 / 3.0});
    auto b = Build(5, 2);
    ExpectTaps(b, 0, 0, {0.4, 0.4, 0.2});
    ExpectTaps(b, 1, 2, {0.2, 0.4, 0.4});
    auto c = Build(2, 3, 48);
    ExpectTaps(c, 0, 0, {1.0}, 48);
    ExpectTaps(c, 1, 0, {0.5, 0.5}, 48);
    ExpectTaps(c, 2, 1, {1.0}, 48);
}

TEST(AreaAverage, EdgeSizes) {
    auto same = Build(7, 7, 896);
    for (int i = 0; i < 7; ++i) ExpectTaps(same, i, i, {1.0}, 896);
    auto one = Build(9, 1);
    ExpectTaps(one, 0, 0, std::vector<double>(9, 1 / 9.0));
    auto fromOne = Build(1, 5);
    for (int i = 0; i < 5; ++i) ExpectTaps(fromOne, i, 0, {1.0});
    auto times3 = Build(4, 12);
    for (int i = 0; i < 12; ++i) ExpectTaps(times3, i, i / 3, {1.0});
    auto half = Build(4, 2);
    ExpectTaps(half, 0, 0, {0.5, 0.5});
    ExpectTaps(half, 1, 2, {0.5, 0.5});
    auto third = Build(12, 4);
    for (int i = 0; i < 4; ++i) ExpectTaps(third, i, 3 * i, {1 / 3.0, 1 / 3.0, 1 / 3.0});
}

// What every table must satisfy for the kernels to read it safely.
void CheckInvariants(int32_t src, int32_t dst) {
    SCOPED_TRACE(testing::Message() << src << " -> " << dst);
    auto t = Build(src, dst, 48);
    const char *block = static_cast<const char *>(t.table.values);
    const int64_t blockBytes =
        dst < src ? int64_t(dst) * (4 * ((src + dst - 1) / dst + 1) + 8) : int64_t(dst) * 16;
    int32_t previous = 0;
    for (int32_t i = 0; i < dst; ++i) {
        const WeightEntry &e = t.table.entries[i];
        const auto taps = TapsOf(t.table, i);
        ASSERT_GE(taps.size(), 1u);
        ASSERT_EQ(e.start % 48, 0);
        const int32_t first = e.start / 48;
        ASSERT_GE(first, previous) << "position " << i;
        ASSERT_LE(first + int32_t(taps.size()) - 1, src - 1) << "position " << i;
        const char *end = reinterpret_cast<const char *>(e.weights + taps.size());
        ASSERT_LE(end - block, blockBytes) << "position " << i;
        double sum = 0;
        for (float w : taps) sum += w;
        ASSERT_NEAR(sum, 1.0, 1e-5 * taps.size()) << "position " << i;
        previous = first;
    }
    const auto last = TapsOf(t.table, dst - 1);
    EXPECT_EQ(t.table.entries[dst - 1].start / 48 + int32_t(last.size()) - 1, src - 1);
}

TEST(AreaAverage, InvariantsOverRandomSizes) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int32_t> size(1, 8192);
    for (int n = 0; n < 300; ++n) CheckInvariants(size(rng), size(rng));
    CheckInvariants(8192, 1);
    CheckInvariants(1, 8192);
    CheckInvariants(8191, 8192);
    CheckInvariants(8192, 8191);
}

TEST(AreaAverage, PositionProductsBeyond32Bits) {
    // D × S above 2^31: the position arithmetic must not wrap.
    CheckInvariants(65536, 40000);
    CheckInvariants(40000, 65536);
}

}  // namespace
