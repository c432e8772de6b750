// Geometry shared by the kernel plug-ins: buffer sizes, tile location and
// the byte offsets derived from the context. Plain integer code, included by
// each kernel library and by the table builder; nothing here touches SIMD.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "abi/LinearFilter.h"

namespace kernel_geometry {

constexpr int32_t TileWidth = 64;             // destination columns per tile
constexpr int32_t TileHeight = 160;           // destination rows per tile
constexpr int32_t RowPitch = 896;             // bytes per row-buffer row
constexpr int32_t ColumnBytes = 48;           // strip-buffer bytes per source column
constexpr int32_t GroupBytes = 4 * RowPitch;  // one batch of four rows
constexpr int32_t PixelBytes = 6;             // one PIXEL_YC

// The int32 tap count stored just before an entry's first weight.
inline int32_t TapCount(const WeightEntry &entry) {
    return reinterpret_cast<const int32_t *>(entry.weights)[-1];
}

// A per-slot size that the int32 record field cannot carry comes back as
// -1, which the driver takes as memory it cannot have.
inline int32_t SlotBytes(int64_t bytes) { return bytes > INT32_MAX ? -1 : int32_t(bytes); }

// (srcWidth + 1) columns of 48 bytes, rounded up to 128.
inline int32_t StripBufferBytes(const LinearFilterContext &ctx) {
    return SlotBytes((int64_t{ctx.srcWidth} * ColumnBytes + 175) & ~int64_t{127});
}

// The rows that one tile row's taps can span: its output rows (a tile's, or
// fewer when the target is shorter) widened by the filter's reach on both
// sides, at the source's scale, and never more rows than the source has.
// Then whole groups of four and one spare group: a tile whose first row is
// not group-aligned converts up to three rows beyond the span (with a
// radius of 7 or 8), and the spare group keeps those inside the buffer.
inline int32_t RowBufferBytes(const LinearFilterContext &ctx, int32_t maxRadius) {
    const int64_t src = ctx.srcHeight, dst = ctx.dstHeight, reach = 2 * int64_t{maxRadius};
    if (src < 1 || dst < 1) return -1;
    const int64_t tileRows = dst < TileHeight ? dst : TileHeight;
    int64_t rows;
    if (src > dst)
        rows = (src * (tileRows + reach) + dst - 1) / dst;
    else
        rows = (tileRows * src + dst - 1) / dst + reach;
    if (rows > src) rows = src;
    const int64_t groups = (rows + 3) / 4;
    return SlotBytes(((groups * GroupBytes + 1023) & ~int64_t{127}) + GroupBytes);
}

// One tile taken from the counter: where it lies and how big it is.
struct TileJob {
    int32_t column;  // tile column t
    int32_t row;     // tile row u
    int32_t ncols;   // destination columns, 1..64
    int32_t nrows;   // destination rows, 1..160
    const HorizontalTile *h;
    const VerticalTile *v;
};

inline TileJob LocateTile(const LinearFilterContext &ctx, int32_t index) {
    TileJob job;
    job.column = index % ctx.tilesAcross;
    job.row = index / ctx.tilesAcross;
    const int32_t x0 = job.column * TileWidth, y0 = job.row * TileHeight;
    job.ncols = (x0 + TileWidth < ctx.dstWidth ? x0 + TileWidth : ctx.dstWidth) - x0;
    job.nrows = (y0 + TileHeight < ctx.dstHeight ? y0 + TileHeight : ctx.dstHeight) - y0;
    job.h = ctx.hTiles + job.column;
    job.v = ctx.vTiles + job.row;
    return job;
}

// Index of the next tile; at or above tileCount when none is left.
inline int32_t TakeTile(LinearFilterContext &ctx) {
    return __atomic_add_fetch(&ctx.nextTile, 1, __ATOMIC_SEQ_CST) - 1;
}

// Where a thread's source reads may go. Columns and rows beyond the image are
// never used by a tap, but whole pairs and groups reach one column and up to
// three rows past the last tap, which can lie beyond the host's frame memory
// when the image fills the frame; such reads repeat the last column or row.
struct SourceBounds {
    const uint8_t *frame;
    ptrdiff_t pitch;     // bytes per line
    int32_t lastColumn;  // srcWidth - 1
    int32_t lastRow;     // srcHeight - 1

    const uint8_t *Row(int32_t row) const {
        return frame + (row < lastRow ? row : lastRow) * pitch;
    }
    // Byte offset of a column within a line.
    ptrdiff_t Column(int32_t column) const {
        return ptrdiff_t{column < lastColumn ? column : lastColumn} * PixelBytes;
    }
};

inline SourceBounds SourceBoundsOf(const void *src, const LinearFilterContext &ctx) {
    return SourceBounds{static_cast<const uint8_t *>(src), ctx.srcPitch, ctx.srcWidth - 1,
                        ctx.srcHeight - 1};
}

// Row-buffer bytes (from the tile's first group) that an output row reads.
inline int32_t RowsNeeded(const WeightEntry &entry, const VerticalTile &v) {
    return entry.start - v.firstGroupOffset + RowPitch * TapCount(entry);
}

}  // namespace kernel_geometry
