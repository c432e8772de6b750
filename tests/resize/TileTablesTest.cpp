// The tile tables built from hand-made weight tables.
#include <gtest/gtest.h>

#include "resize/TileTables.h"
#include "resize/xmmutil.h"
#include "tests/support/TapTables.h"

namespace {

using testing_support::TapTable;

// `count` taps per position from first = i + shift.
TapTable Shifted(int32_t positions, int32_t shift, int32_t count) {
    TapTable t(positions);
    for (int32_t i = 0; i < positions; ++i)
        t[i] = testing_support::TapList{i + shift, std::vector<float>(count, 1.0f / count)};
    return t;
}

struct Tables {
    LinearFilterContext c{};
    std::vector<HorizontalTile> h;
    std::vector<VerticalTile> v;
    Tables(int32_t dstWidth, int32_t dstHeight, const TapTable &columns, const TapTable &rows)
        : h((dstWidth + 63) / 64), v((dstHeight + 159) / 160) {
        c.dstWidth = dstWidth;
        c.dstHeight = dstHeight;
        c.columnUnit = 48;
        c.tilesAcross = int32_t(h.size());
        c.tilesDown = int32_t(v.size());
        c.hTiles = h.data();
        c.vTiles = v.data();
        testing_support::FillWeightTable(c.hWeights, columns, 48);
        testing_support::FillWeightTable(c.vWeights, rows, 896);
        BuildTileTables(c, 64, 160, 896);
    }
    ~Tables() {
        testing_support::FreeWeightTable(c.hWeights);
        testing_support::FreeWeightTable(c.vWeights);
    }
};

void ExpectTile(const HorizontalTile &t, int32_t firstPair, int32_t pairCount,
                const WeightEntry *first) {
    EXPECT_EQ(t.firstPair, firstPair);
    EXPECT_EQ(t.firstPairOffset, firstPair * 96);
    EXPECT_EQ(t.pairCount, pairCount);
    EXPECT_EQ(t.firstEntry, first);
}

TEST(TileTables, ColumnTilesCoverTheirColumnsInPairs) {
    // 130 columns: two whole tiles and one of two columns, 3 taps each.
    Tables even(130, 1, Shifted(130, 0, 3), Shifted(1, 0, 1));
    const WeightEntry *e = even.c.hWeights.entries;
    ExpectTile(even.h[0], 0, 33, e);        // columns 0..65
    ExpectTile(even.h[1], 32, 33, e + 64);  // 64..129
    ExpectTile(even.h[2], 64, 2, e + 128);  // from the entry of column 129: 128..131
    // An odd first column starts its pair one column early.
    Tables odd(130, 1, Shifted(130, 1, 3), Shifted(1, 0, 1));
    ExpectTile(odd.h[0], 0, 34, odd.c.hWeights.entries);        // 1..66
    ExpectTile(odd.h[2], 64, 3, odd.c.hWeights.entries + 128);  // 129..132
}

TEST(TileTables, RowTilesCoverTheirRowsInGroupsOfFour) {
    // 170 rows: one whole tile and one of ten rows, 5 taps from i + 3.
    Tables t(1, 170, Shifted(1, 0, 1), Shifted(170, 3, 5));
    const WeightEntry *e = t.c.vWeights.entries;
    EXPECT_EQ(t.v[0].firstGroup, 0);  // rows 3..166
    EXPECT_EQ(t.v[0].firstGroupOffset, 0);
    EXPECT_EQ(t.v[0].groupCount, 42);
    EXPECT_EQ(t.v[0].firstEntry, e);
    EXPECT_EQ(t.v[1].firstGroup, 40);  // rows 163..176
    EXPECT_EQ(t.v[1].firstGroupOffset, 40 * 4 * 896);
    EXPECT_EQ(t.v[1].groupCount, 5);
    EXPECT_EQ(t.v[1].firstEntry, e + 160);
}

TEST(TileTables, SinglePositionGivesOneTileOfOnePairAndOneGroup) {
    Tables t(1, 1, Shifted(1, 0, 1), Shifted(1, 0, 1));
    ExpectTile(t.h[0], 0, 1, t.c.hWeights.entries);
    EXPECT_EQ(t.v[0].firstGroup, 0);
    EXPECT_EQ(t.v[0].groupCount, 1);
}

}  // namespace
