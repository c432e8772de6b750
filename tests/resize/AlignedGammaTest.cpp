#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "resize/FpuPrecision.h"
#include "resize/GammaTables.h"
#include "resize/xmmutil.h"

namespace {

TEST(AlignedGetMem, SmallAlignmentsRoundUpToFour) {
    for (uint32_t a : {0u, 1u, 2u, 3u}) {
        void *p = AlignedGetMem(10, a);
        EXPECT_EQ(uintptr_t(p) % 4, 0u) << "alignment " << a;
        AlignedFreeMem(p);
    }
}

TEST(AlignedGetMem, LargeAlignmentGivesEveryAskedByte) {
    std::vector<void *> blocks;
    for (int i = 0; i < 64; ++i) {
        void *p = AlignedGetMem(100 + i, 128);
        EXPECT_EQ(uintptr_t(p) % 128, 0u);
        std::memset(p, 0xAB, 100 + i);  // every asked byte is usable (ASan checks)
        blocks.push_back(p);
    }
    for (void *p : blocks) AlignedFreeMem(p);
}

TEST(AlignedGetMem, SizesItCannotRepresentFailLikeAnyAllocation) {
    EXPECT_THROW(AlignedGetMem(-1, 16), std::bad_alloc);
    // size + alignment + pointer passes 2^32 here: a 32-bit build must see
    // the true total (and refuse it), never a wrapped short one.
    EXPECT_EQ(AlignedBlockBytes(INT32_MAX, 0x80000000u),
              uint64_t(INT32_MAX) + 0x80000000u + sizeof(void *));
    EXPECT_GT(AlignedBlockBytes(INT32_MAX, 0x80000000u), uint64_t(UINT32_MAX));
    EXPECT_EQ(AlignedBlockBytes(10, 1), 10u + 4u + sizeof(void *));
}

class GammaTablesTest : public ::testing::Test {
protected:
    void SetUp() override { tables.BuildGammaTables(2.2); }
    TGammaTables tables;
};

TEST_F(GammaTablesTest, ForwardTableTellingValues) {
    const float *toLinear = tables.GammaToLinear();
    ASSERT_NE(toLinear, nullptr);
    EXPECT_EQ(uintptr_t(toLinear) % 128, 0u);
    EXPECT_EQ(toLinear[0], 0.0f);
    EXPECT_NEAR(toLinear[1], 0.00074, 0.000005);
    EXPECT_NEAR(toLinear[1024], 3104.14, 0.005);
    EXPECT_NEAR(toLinear[2048], 14262.88, 0.005);
    EXPECT_NEAR(toLinear[4095], 65499.80, 0.005);
    EXPECT_EQ(toLinear[4096], 65535.0f);
    for (int i = 1; i <= 4096; ++i) ASSERT_GT(toLinear[i], toLinear[i - 1]) << i;
}

TEST_F(GammaTablesTest, InverseTableTellingValues) {
    const int16_t *fromLinear = tables.LinearToGamma();
    ASSERT_NE(fromLinear, nullptr);
    EXPECT_EQ(uintptr_t(fromLinear) % 128, 0u);
    const struct {
        int j, code;
    } cases[] = {{0, 0},        {1, 26},       {1000, 612},  {14268, 2048},
                 {32768, 2989}, {65534, 4096}, {65535, 4096}};
    for (auto c : cases) EXPECT_EQ(fromLinear[c.j], c.code) << "intensity " << c.j;
    for (int j = 1; j < 65536; ++j) ASSERT_GE(fromLinear[j], fromLinear[j - 1]) << j;
}

TEST_F(GammaTablesTest, RebuildGivesNewBlocksWithIdenticalContents) {
    std::vector<float> forward(tables.GammaToLinear(), tables.GammaToLinear() + 4097);
    std::vector<int16_t> inverse(tables.LinearToGamma(), tables.LinearToGamma() + 65536);
    tables.FreeGammaTables();
    EXPECT_EQ(tables.GammaToLinear(), nullptr);
    EXPECT_EQ(tables.LinearToGamma(), nullptr);
    tables.FreeGammaTables();  // on absent tables: nothing
    tables.BuildGammaTables(2.2);
    tables.BuildGammaTables(2.2);  // replaces existing tables without leaking
    EXPECT_EQ(0,
              std::memcmp(forward.data(), tables.GammaToLinear(), forward.size() * sizeof(float)));
    EXPECT_EQ(
        0, std::memcmp(inverse.data(), tables.LinearToGamma(), inverse.size() * sizeof(int16_t)));
}

int Allocations = 0;
bool FailTheSecond() { return ++Allocations == 2; }

// Out of memory for the second table: the tables count as absent, and the
// next build makes both again.
TEST_F(GammaTablesTest, BuildCutShortLeavesThemAbsent) {
    SetAlignedAllocationHook(FailTheSecond);
    EXPECT_THROW(tables.BuildGammaTables(2.2), std::bad_alloc);
    SetAlignedAllocationHook(nullptr);
    EXPECT_NE(tables.GammaToLinear(), nullptr);
    EXPECT_EQ(tables.LinearToGamma(), nullptr);
    EXPECT_FALSE(tables.Built());
    tables.BuildGammaTables(2.2);
    EXPECT_TRUE(tables.Built());
}

// Both tables entry for entry against their definitions, evaluated one by
// one under the precision the builder sets: the inverse table is built by
// runs of equal codes and must not differ anywhere. Exponents other than 2.2
// give runs of other lengths and codes that jump near black.
TEST(GammaTables, EveryEntryEqualsItsDefinition) {
    for (double gamma : {2.2, 1.0, 1.8, 2.6, 0.45}) {
        TGammaTables tables;
        tables.BuildGammaTables(gamma);
        const float *toLinear = tables.GammaToLinear();
        const int16_t *fromLinear = tables.LinearToGamma();
        TDoublePrecision precision;
        const double inverse = 1.0 / gamma;
        int forwardOff = 0, inverseOff = 0, firstInverseOff = -1;
        for (int i = 0; i <= 4096; ++i)
            forwardOff += toLinear[i] != float(std::pow(i / 4096.0, gamma) * 65535.0);
        for (int j = 0; j < 65536; ++j) {
            const int16_t code = int16_t(int(std::pow(j / 65535.0, inverse) * 4096.0 + 0.5));
            if (fromLinear[j] != code && inverseOff++ == 0) firstInverseOff = j;
        }
        EXPECT_EQ(forwardOff, 0) << "gamma " << gamma;
        EXPECT_EQ(inverseOff, 0) << "gamma " << gamma << ", first at intensity " << firstInverseOff;
    }
}

}  // namespace
