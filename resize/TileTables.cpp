#include "resize/TileTables.h"

#include "kernels/common/KernelGeometry.h"

namespace {

// First and last source position that output positions first..last need,
// with starts divided by `unit`.
struct SourceSpan {
    int32_t first;
    int32_t last;
};

SourceSpan SpanOf(const WeightEntry *entries, int32_t first, int32_t last, int32_t unit) {
    const WeightEntry &f = entries[first];
    const WeightEntry &l = entries[last];
    return SourceSpan{f.start / unit, l.start / unit + kernel_geometry::TapCount(l) - 1};
}

int32_t LastOfTile(int32_t tile, int32_t tileSize, int32_t size) {
    const int32_t last = (tile + 1) * tileSize - 1;
    return last < size ? last : size - 1;
}

}  // namespace

void BuildHorizontalTiles(LinearFilterContext &ctx, int32_t tileWidth) {
    const WeightEntry *entries = ctx.hWeights.entries;
    for (int32_t t = 0; t < ctx.tilesAcross; ++t) {
        const int32_t first = t * tileWidth;
        const SourceSpan span =
            SpanOf(entries, first, LastOfTile(t, tileWidth, ctx.dstWidth), ctx.columnUnit);
        HorizontalTile &tile = ctx.hTiles[t];
        tile.firstPair = span.first / 2;
        tile.firstPairOffset = tile.firstPair * 2 * ctx.columnUnit;
        tile.pairCount = span.last / 2 - tile.firstPair + 1;
        tile.firstEntry = entries + first;
    }
}

void BuildVerticalTiles(LinearFilterContext &ctx, int32_t tileHeight, int32_t rowPitch) {
    const WeightEntry *entries = ctx.vWeights.entries;
    for (int32_t t = 0; t < ctx.tilesDown; ++t) {
        const int32_t first = t * tileHeight;
        const SourceSpan span =
            SpanOf(entries, first, LastOfTile(t, tileHeight, ctx.dstHeight), rowPitch);
        VerticalTile &tile = ctx.vTiles[t];
        tile.firstGroup = span.first / 4;
        tile.firstGroupOffset = tile.firstGroup * 4 * rowPitch;
        tile.groupCount = span.last / 4 - tile.firstGroup + 1;
        tile.firstEntry = entries + first;
    }
}

void BuildTileTables(LinearFilterContext &ctx, int32_t tileWidth, int32_t tileHeight,
                     int32_t rowPitch) {
    BuildHorizontalTiles(ctx, tileWidth);
    BuildVerticalTiles(ctx, tileHeight, rowPitch);
}
