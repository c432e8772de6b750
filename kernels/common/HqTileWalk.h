// The tile walk of the HQ kernels: TileWalk.h's walk, with three additions
// and nothing else changed.
//   1. On an axis whose target is larger than its source, each output of a
//      pass is clamped, per channel, into [min, max] of the two source
//      samples nearest its centre (NearestPair), the vertical pass against
//      the horizontal pass's already clamped values.
//   2. When no axis is reduced and at least one is enlarged, the strip is
//      filled from the sigmoidal forward table and the sums come back
//      through the sigmoidal inverse.
//   3. The sums come back through a log-indexed inverse table
//      (HqTables.h) in every case.
// Besides the pieces of TileWalk.h, the kernel provides
//   Kernel::GroupHq<Clamp>(x, weights, n, a, b, fromIndex, pixels)  Group
//       with, when Clamp, the vertical clamp against the rows at a and b,
//       and LogIndex for the table indices.
// Compiled with each kernel's instruction set, with internal linkage.
#pragma once
#include <emmintrin.h>

#include "kernels/common/HqTables.h"
#include "kernels/common/TileWalk.h"

namespace kernel_tiles {
namespace {

// The two source positions either side of output position `out`'s centre
// (out + 0.5) × src / dst - 0.5, each kept within the entry's taps
// first .. first + count - 1 (so inside the source, and inside what the
// tile converted).
inline void NearestPair(int32_t out, int32_t src, int32_t dst, int32_t first, int32_t count,
                        int32_t &a, int32_t &b) {
    const int64_t num = (2 * int64_t{out} + 1) * src - dst, den = 2 * int64_t{dst};
    const int64_t below = num >= 0 ? num / den : -((-num + den - 1) / den);
    const int64_t last = int64_t{first} + count - 1;
    a = int32_t(below < first ? first : below > last ? last : below);
    b = int32_t(below + 1 < first ? first : below + 1 > last ? last : below + 1);
}

// v clamped into [min(x, y), max(x, y)] with the processor's own minimum and
// maximum (the second operand where either is NaN).
inline __m128 ClampBetween(__m128 v, __m128 x, __m128 y) {
    return _mm_min_ps(_mm_max_ps(v, _mm_min_ps(x, y)), _mm_max_ps(x, y));
}

// A filtered column (strip layout) clamped against the strip columns at a, b.
inline void ClampColumn(const uint8_t *a, const uint8_t *b, __m128 &s0, __m128 &s1, __m128 &s2) {
    const float *x = reinterpret_cast<const float *>(a), *y = reinterpret_cast<const float *>(b);
    s0 = ClampBetween(s0, _mm_load_ps(x), _mm_load_ps(y));
    s1 = ClampBetween(s1, _mm_load_ps(x + 4), _mm_load_ps(y + 4));
    s2 = ClampBetween(s2, _mm_load_ps(x + 8), _mm_load_ps(y + 8));
}

// 1 + v of sums v clamped to 0..LogIndexTop (NaN to 0), whose bits give
// the log index (HqTables.h).
inline __m128 LogIndexFloat(__m128 v) {
    v = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(kernel_hq::LogIndexTop));
    return _mm_add_ps(v, _mm_set1_ps(1.0f));
}

// The log index of the four floats `LogIndexFloat` gave, as int32.
inline __m128i LogIndexOfFloat(__m128 t) {
    return _mm_sub_epi32(_mm_srli_epi32(_mm_castps_si128(t), kernel_hq::LogIndexShift),
                         _mm_set1_epi32(kernel_hq::LogIndexBase));
}

// What a call of Process works with beside ThreadWork.
struct HqFrame {
    const float *toLinear;     // the strip's forward table
    const int16_t *fromIndex;  // the inverse table by log index
    bool clampColumns;         // wider than the source
    bool clampRows;            // taller than the source
};

inline HqFrame HqFrameOf(const LinearFilterContext &ctx, const kernel_hq::HqTables &t) {
    const bool wider = ctx.dstWidth > ctx.srcWidth, taller = ctx.dstHeight > ctx.srcHeight;
    const bool sigmoid =
        (wider || taller) && ctx.dstWidth >= ctx.srcWidth && ctx.dstHeight >= ctx.srcHeight;
    return HqFrame{sigmoid ? t.sigmoidForward : ctx.toLinear,
                   sigmoid ? t.sigmoidInverse : t.linearInverse, wider, taller};
}

// Strip offsets (from the entries' base) of each tile column's two clamp
// columns.
struct ClampColumns {
    int32_t a[TileWidth], b[TileWidth];
};

inline void FindClampColumns(const LinearFilterContext &ctx, const TileJob &job,
                             ClampColumns &out) {
    const WeightEntry *entry = job.h->firstEntry;
    for (int32_t c = 0; c < job.ncols; ++c, ++entry) {
        int32_t a, b;
        NearestPair(job.column * TileWidth + c, ctx.srcWidth, ctx.dstWidth,
                    entry->start / ColumnBytes, TapCount(*entry), a, b);
        out.a[c] = a * ColumnBytes;
        out.b[c] = b * ColumnBytes;
    }
}

template <class Kernel, bool Clamp>
__attribute__((noinline)) void FilterRowsHq(const uint8_t *strip, const WeightEntry *entry,
                                            const WeightEntry *end, uint8_t *fill,
                                            const ClampColumns &clamp) {
    for (int32_t c = 0; entry != end; ++entry, ++c, fill += 12) {
        __m128 s0, s1, s2;
        Kernel::Column(strip + entry->start, entry->weights, TapCount(*entry), s0, s1, s2);
        if (Clamp) ClampColumn(strip + clamp.a[c], strip + clamp.b[c], s0, s1, s2);
        StoreColumnRows(fill, s0, s1, s2);
    }
}

template <class Kernel>
bool RunBatchHq(const ThreadWork &w, const HqFrame &f, const TileJob &job,
                const ClampColumns &clamp, TileFill &fill) {
    if (fill.filled + GroupBytes > w.rowBytes) return false;
    const int32_t row = fill.nextRow;
    const uint8_t *const rows[4] = {w.src.Row(row), w.src.Row(row + 1), w.src.Row(row + 2),
                                    w.src.Row(row + 3)};
    Kernel::Convert(rows, w.src, 2 * job.h->firstPair, job.h->pairCount, f.toLinear,
                    reinterpret_cast<float *>(w.strip));
    const uint8_t *strip = w.strip - job.h->firstPairOffset;
    const WeightEntry *first = job.h->firstEntry, *end = first + job.ncols;
    uint8_t *to = w.rows + fill.filled;
    if (f.clampColumns)
        FilterRowsHq<Kernel, true>(strip, first, end, to, clamp);
    else
        FilterRowsHq<Kernel, false>(strip, first, end, to, clamp);
    fill.filled += GroupBytes;
    fill.nextRow += 4;
    return true;
}

// One output row; `a` and `b` are the row-buffer rows of its clamp rows.
template <class Kernel, bool Clamp>
__attribute__((noinline)) void FilterOutputRowHq(const RowJob &job, const uint8_t *rows,
                                                 const WeightEntry &entry, uint8_t *dstRow,
                                                 const uint8_t *a, const uint8_t *b) {
    const int32_t n = TapCount(entry);
    const typename Kernel::RowWeights weights(entry.weights, n);
    const uint8_t *const end = rows + 96 * job.wholeGroups;
    for (; rows != end; rows += 96, a += 96, b += 96, dstRow += 48) {
        __m128i pixels[3];
        Kernel::template GroupHq<Clamp>(rows, weights, n, a, b, job.fromLinear, pixels);
        StoreGroup(job.streamed, dstRow, pixels, 8);
    }
    if (job.lastColumns) {
        __m128i pixels[3];
        Kernel::template GroupHq<Clamp>(rows, weights, n, a, b, job.fromLinear, pixels);
        StoreGroup(job.streamed, dstRow, pixels, job.lastColumns);
    }
}

template <class Kernel>
void ProcessTileHq(const ThreadWork &w, const HqFrame &f, const TileJob &job) {
    const LinearFilterContext &ctx = *w.ctx;
    const VerticalTile &v = *job.v;
    ClampColumns clamp;
    if (f.clampColumns) FindClampColumns(ctx, job, clamp);
    TileFill fill{4 * v.firstGroup, 0};
    uint8_t *dstRow = w.dst + ptrdiff_t{TileHeight} * job.row * w.pitch +
                      ptrdiff_t{TileWidth} * PixelBytes * job.column;
    const RowJob rowJob{f.fromIndex, job.ncols / 8, job.ncols % 8, w.streamed};
    const uint8_t *const base = w.rows - v.firstGroupOffset;
    const WeightEntry *entry = v.firstEntry;
    for (int32_t r = 0; r < job.nrows; ++r, ++entry, dstRow += w.pitch) {
        const int32_t need = RowsNeeded(*entry, v);
        while (fill.filled < need)
            if (!RunBatchHq<Kernel>(w, f, job, clamp, fill)) return;
        const uint8_t *rows = base + entry->start;
        if (f.clampRows) {
            int32_t a, b;
            NearestPair(job.row * TileHeight + r, ctx.srcHeight, ctx.dstHeight,
                        entry->start / RowPitch, TapCount(*entry), a, b);
            FilterOutputRowHq<Kernel, true>(rowJob, rows, *entry, dstRow, base + a * RowPitch,
                                            base + b * RowPitch);
        } else {
            FilterOutputRowHq<Kernel, false>(rowJob, rows, *entry, dstRow, rows, rows);
        }
    }
}

// ProcessTiles with the HQ steps; the tables are held for the whole call
// and taken under the defined rounding, as the reference builds them.
template <class Kernel>
void ProcessTilesHq(void *dst, const void *src, LinearFilterContext &ctx, int32_t threadIndex) {
    const DefaultMxcsr rounding;
    const kernel_hq::HqTables &tables = kernel_hq::AcquireTables(ctx.toLinear);
    const HqFrame frame = HqFrameOf(ctx, tables);
    const ThreadWork w = ThreadWorkOf(dst, src, ctx, threadIndex);
    for (int32_t i = TakeTile(ctx); i < ctx.tileCount; i = TakeTile(ctx))
        ProcessTileHq<Kernel>(w, frame, LocateTile(ctx, i));
    _mm_sfence();
    kernel_hq::ReleaseTables(tables);
}

}  // namespace
}  // namespace kernel_tiles
