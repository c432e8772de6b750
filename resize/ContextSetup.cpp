#include "resize/ContextSetup.h"

#include <cstring>
#include <new>
#include <utility>

#include "kernels/common/KernelGeometry.h"
#include "resize/TileTables.h"
#include "resize/xmmutil.h"

namespace {

using kernel_geometry::ColumnBytes;
using kernel_geometry::TapCount;

void FreeIfSet(void *block) {
    if (block) AlignedFreeMem(block);
}

int32_t TilesFor(int32_t size, int32_t tileSize) { return (size - 1) / tileSize + 1; }

// Per-thread blocks: `size` bytes for each of `slots`, or none when the
// kernel needs none.
uint8_t *SlotBlocks(int32_t size, int32_t slots, int32_t spare) {
    if (size == 0) return nullptr;
    const int64_t total = int64_t{size} * slots + spare;
    if (size < 0 || total > INT32_MAX) throw std::bad_alloc();
    return static_cast<uint8_t *>(AlignedGetMem(int32_t(total), 128));
}

template <typename Tile>
Tile *TileBlock(int32_t count) {
    return static_cast<Tile *>(AlignedGetMem(int32_t(sizeof(Tile)) * count, 16));
}

void Weights(TWeightSetter &setter, WeightTable &table, int32_t src, int32_t dst, int32_t unit) {
    if (dst < src)
        setter.SetReduceWeights(&table, src, dst, unit);
    else
        setter.SetEnlargeWeights(&table, src, dst, unit);
}

// Whether entries first..last of a direction lie in the source and in the
// `span` positions from `first`, which a slot of `slotBytes` holds at `unit`.
bool EntriesFit(const WeightEntry *entries, int32_t first, int32_t last, int32_t unit,
                int32_t srcSize, int64_t spanFirst, int64_t span, int32_t slotBytes) {
    if (span * unit > slotBytes) return false;
    for (int32_t i = first; i <= last; ++i) {
        const int64_t from = entries[i].start / unit, taps = TapCount(entries[i]);
        if (entries[i].start % unit != 0 || taps < 1 || from < spanFirst || from < 0 ||
            from + taps > spanFirst + span || from + taps > srcSize)
            return false;
    }
    return true;
}

// Whether each of a direction's tiles fits: its entries run up to the next
// tile's first one, and `span` gives the positions its slot holds.
template <typename Tile, typename Span>
bool TilesFit(const Tile *tiles, int32_t count, const WeightTable &table, int32_t dstSize,
              int32_t unit, int32_t srcSize, int32_t slotBytes, Span span) {
    for (int32_t t = 0; t < count; ++t) {
        const int32_t first = int32_t(tiles[t].firstEntry - table.entries);
        const int32_t last =
            t + 1 < count ? int32_t(tiles[t + 1].firstEntry - table.entries) - 1 : dstSize - 1;
        const auto [spanFirst, spanSize] = span(tiles[t]);
        if (!EntriesFit(table.entries, first, last, unit, srcSize, spanFirst, spanSize, slotBytes))
            return false;
    }
    return true;
}

}  // namespace

void SetGeometry(LinearFilterContext &c, const LinearFilterPluginInfo &kernel, const TGeometry &g) {
    // Every weight start is a source position times its unit, in int32.
    if (int64_t{g.srcWidth} * ColumnBytes > INT32_MAX ||
        int64_t{g.srcHeight + 3} * kernel.rowPitch > INT32_MAX)
        throw std::bad_alloc();
    c.srcWidth = g.srcWidth;
    c.srcHeight = g.srcHeight;
    c.dstWidth = g.dstWidth;
    c.dstHeight = g.dstHeight;
    c.tilesAcross = TilesFor(g.dstWidth, kernel.tileWidth);
    c.tilesDown = TilesFor(g.dstHeight, kernel.tileHeight);
    const int64_t tiles = int64_t{c.tilesAcross} * c.tilesDown;
    if (tiles > INT32_MAX) throw std::bad_alloc();
    c.tileCount = int32_t(tiles);
    c.srcPitch = g.pitch;
    c.columnUnit = ColumnBytes;
    c.dstPitch = g.pitch;
    c.stripBufferSize = kernel.GetStripBufferSize(&c, MaxFilterRadius);
    c.rowBufferSize = kernel.GetRowBufferSize(&c, MaxFilterRadius);
    // A negative size is one the kernel cannot express: memory it cannot have.
    if (c.stripBufferSize < 0 || c.rowBufferSize < 0) throw std::bad_alloc();
}

void AllocateBuffers(LinearFilterContext &c, int32_t slots, int32_t spareBytes) {
    c.stripBuffer = SlotBlocks(c.stripBufferSize, slots, spareBytes);
    c.rowBuffer = SlotBlocks(c.rowBufferSize, slots, spareBytes);
    c.hTiles = TileBlock<HorizontalTile>(c.tilesAcross);
    c.vTiles = TileBlock<VerticalTile>(c.tilesDown);
}

void BuildTables(LinearFilterContext &c, const LinearFilterPluginInfo &kernel,
                 TWeightSetter &setter) {
    Weights(setter, c.hWeights, c.srcWidth, c.dstWidth, c.columnUnit);
    Weights(setter, c.vWeights, c.srcHeight, c.dstHeight, kernel.rowPitch);
    BuildTileTables(c, kernel.tileWidth, kernel.tileHeight, kernel.rowPitch);
}

bool TilesFitBuffers(const LinearFilterContext &c, int32_t rowPitch) {
    // A horizontal tile's slot holds pixel pairs, a vertical tile's groups of four rows.
    const auto pairs = [](const HorizontalTile &h) {
        return std::pair<int64_t, int64_t>(2 * int64_t{h.firstPair}, 2 * int64_t{h.pairCount});
    };
    const auto groups = [](const VerticalTile &v) {
        return std::pair<int64_t, int64_t>(4 * int64_t{v.firstGroup}, 4 * int64_t{v.groupCount});
    };
    return TilesFit(c.hTiles, c.tilesAcross, c.hWeights, c.dstWidth, c.columnUnit, c.srcWidth,
                    c.stripBufferSize, pairs) &&
           TilesFit(c.vTiles, c.tilesDown, c.vWeights, c.dstHeight, rowPitch, c.srcHeight,
                    c.rowBufferSize, groups);
}

void FreeContext(LinearFilterContext &c) {
    FreeIfSet(c.stripBuffer);
    FreeIfSet(c.rowBuffer);
    FreeIfSet(c.hTiles);
    FreeIfSet(c.vTiles);
    FreeIfSet(c.hWeights.values);
    FreeIfSet(c.hWeights.entries);
    FreeIfSet(c.vWeights.values);
    FreeIfSet(c.vWeights.entries);
    std::memset(&c, 0, sizeof c);
}
