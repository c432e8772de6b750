// The tile walk of Process, shared by the kernel plug-ins: tiles of 64 × 160
// destination pixels taken from the shared counter. Per tile, source rows are
// converted four at a time into the strip buffer and filtered horizontally
// into the row buffer; each output row is then filtered vertically in groups
// of eight columns and written. The pixel work comes from the kernel:
//
//   Kernel::Convert(rows, src, column, pairs, toLinear, strip)  `pairs`
//       column pairs from `column` of four source rows into the strip
//       (ConvertPairs below does it with SSE2)
//   Kernel::Column(x, weights, n, s0, s1, s2)  one destination column of four
//       rows from the strip (x: first tap's column), in the strip's layout
//   Kernel::Group(x, weights, n, fromLinear, pixels)  eight output pixels
//       (three vectors of the PIXEL_YC sequence) from row-buffer rows (x:
//       first tap's row); `weights` is the row's Kernel::RowWeights
//
// Like KernelColour.h, this is compiled with each kernel's instruction set,
// with internal linkage.
#pragma once
#include <emmintrin.h>
#include <string.h>

#include "kernels/common/KernelColour.h"
#include "kernels/common/KernelGeometry.h"

namespace kernel_tiles {
namespace {

using namespace kernel_geometry;

// What one thread works with for a whole call.
struct ThreadWork {
    const LinearFilterContext *ctx;
    SourceBounds src;
    uint8_t *dst;
    ptrdiff_t pitch;
    bool streamed;     // frame and pitch allow aligned non-temporal stores
    uint8_t *strip;    // this thread's strip buffer, 16-aligned
    uint8_t *rows;     // this thread's row buffer, 16-aligned
    int32_t rowBytes;  // its size
};

inline ThreadWork ThreadWorkOf(void *dst, const void *src, const LinearFilterContext &ctx,
                               int32_t threadIndex) {
    return ThreadWork{
        &ctx,
        SourceBoundsOf(src, ctx),
        static_cast<uint8_t *>(dst),
        ctx.srcPitch,
        ((reinterpret_cast<uintptr_t>(dst) | static_cast<uintptr_t>(ctx.srcPitch)) & 15) == 0,
        ctx.stripBuffer + ptrdiff_t{threadIndex} * ctx.stripBufferSize,
        ctx.rowBuffer + ptrdiff_t{threadIndex} * ctx.rowBufferSize,
        ctx.rowBufferSize,
    };
}

// Row-buffer progress of the tile in hand.
struct TileFill {
    int32_t nextRow;  // next source row to convert
    int32_t filled;   // row-buffer bytes written
};

// Source columns from `column` on, two at a time, through the colour
// conversion in; 24 floats per pair.
inline void ConvertPairs(const uint8_t *const rows[4], const SourceBounds &src, int32_t column,
                         int32_t pairs, const float *toLinear, float *strip) {
    for (int32_t p = 0; p < pairs; ++p, column += 2, strip += 24)
        kernel_colour::ConvertPair(rows, src.Column(column), src.Column(column + 1), toLinear,
                                   strip);
}

template <class Kernel>
void ConvertRows(const ThreadWork &w, const HorizontalTile &h, int32_t row) {
    const uint8_t *const rows[4] = {w.src.Row(row), w.src.Row(row + 1), w.src.Row(row + 2),
                                    w.src.Row(row + 3)};
    Kernel::Convert(rows, w.src, 2 * h.firstPair, h.pairCount, w.ctx->toLinear,
                    reinterpret_cast<float *>(w.strip));
}

// Writes a filtered column as B, G, R of four row-buffer rows. Each store
// writes a fourth float that the next column overwrites.
inline void StoreColumnRows(uint8_t *fill, __m128 s0, __m128 s1, __m128 s2) {
    constexpr int32_t pitch = RowPitch;
    _mm_storeu_ps(reinterpret_cast<float *>(fill), _mm_shuffle_ps(s0, s2, _MM_SHUFFLE(0, 0, 1, 0)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + pitch),
                  _mm_shuffle_ps(s0, s2, _MM_SHUFFLE(1, 1, 3, 2)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + 2 * pitch),
                  _mm_shuffle_ps(s1, s2, _MM_SHUFFLE(2, 2, 1, 0)));
    _mm_storeu_ps(reinterpret_cast<float *>(fill + 3 * pitch),
                  _mm_shuffle_ps(s1, s2, _MM_SHUFFLE(3, 3, 3, 2)));
}

// One batch's columns, out of line: with 8 general registers in 32-bit
// code, the tile walk's state would crowd out the column loop's pointers.
// `strip` is already moved back by the tile's firstPairOffset, so that an
// entry's start is directly its offset.
template <class Kernel>
__attribute__((noinline)) void FilterRows(const uint8_t *strip, const WeightEntry *entry,
                                          const WeightEntry *end, uint8_t *fill) {
    for (; entry != end; ++entry, fill += 12) {
        __m128 s0, s1, s2;
        Kernel::Column(strip + entry->start, entry->weights, TapCount(*entry), s0, s1, s2);
        StoreColumnRows(fill, s0, s1, s2);
    }
}

// Fills the next four row-buffer rows. False when they would not fit: the
// driver refuses such tables before any kernel runs (TilesFitBuffers), so
// this only keeps a foreign caller's tables from writing past the buffer.
template <class Kernel>
bool RunBatch(const ThreadWork &w, const TileJob &job, TileFill &fill) {
    if (fill.filled + GroupBytes > w.rowBytes) return false;
    ConvertRows<Kernel>(w, *job.h, fill.nextRow);
    FilterRows<Kernel>(w.strip - job.h->firstPairOffset, job.h->firstEntry,
                       job.h->firstEntry + job.ncols, w.rows + fill.filled);
    fill.filled += GroupBytes;
    fill.nextRow += 4;
    return true;
}

// Stores eight pixels; a group cut by the tile's last column writes only
// its pixels inside the image, so nothing reaches another line.
inline void StoreGroup(bool streamed, uint8_t *to, const __m128i pixels[3], int32_t count) {
    __m128i *d = reinterpret_cast<__m128i *>(to);
    if (count < 8) {
        alignas(16) int16_t part[24];
        for (int v = 0; v < 3; ++v)
            _mm_store_si128(reinterpret_cast<__m128i *>(part) + v, pixels[v]);
        memcpy(to, part, static_cast<size_t>(count) * PixelBytes);
    } else if (streamed) {
        _mm_stream_si128(d, pixels[0]);
        _mm_stream_si128(d + 1, pixels[1]);
        _mm_stream_si128(d + 2, pixels[2]);
    } else {
        _mm_storeu_si128(d, pixels[0]);
        _mm_storeu_si128(d + 1, pixels[1]);
        _mm_storeu_si128(d + 2, pixels[2]);
    }
}

// A row's vertical weights as the kernel's Group takes them
// (Kernel::RowWeights, made once per output row): as handed in, unless the
// kernel prepares them.
struct PlainWeights {
    const float *weights;
    PlainWeights(const float *w, int32_t) : weights(w) {}
    operator const float *() const { return weights; }
};

// What every output row of a tile shares, read from memory by the row loop
// rather than held in registers.
struct RowJob {
    const int16_t *fromLinear;
    int32_t wholeGroups;  // groups of eight columns inside the image
    int32_t lastColumns;  // columns of a last, cut group (0: none)
    bool streamed;
};

// One output row, out of line like FilterRows: `rows` is the row-buffer row
// of its first tap.
template <class Kernel>
__attribute__((noinline)) void FilterOutputRow(const RowJob &job, const uint8_t *rows,
                                               const WeightEntry &entry, uint8_t *dstRow) {
    const int32_t n = TapCount(entry);
    const typename Kernel::RowWeights weights(entry.weights, n);
    const uint8_t *const end = rows + 96 * job.wholeGroups;
    for (; rows != end; rows += 96, dstRow += 48) {
        __m128i pixels[3];
        Kernel::Group(rows, weights, n, job.fromLinear, pixels);
        StoreGroup(job.streamed, dstRow, pixels, 8);
    }
    if (job.lastColumns) {
        __m128i pixels[3];
        Kernel::Group(rows, weights, n, job.fromLinear, pixels);
        StoreGroup(job.streamed, dstRow, pixels, job.lastColumns);
    }
}

template <class Kernel>
void ProcessTile(const ThreadWork &w, const TileJob &job) {
    const VerticalTile &v = *job.v;
    TileFill fill{4 * v.firstGroup, 0};
    uint8_t *dstRow = w.dst + ptrdiff_t{TileHeight} * job.row * w.pitch +
                      ptrdiff_t{TileWidth} * PixelBytes * job.column;
    const RowJob rowJob{w.ctx->fromLinear, job.ncols / 8, job.ncols % 8, w.streamed};
    const WeightEntry *entry = v.firstEntry;
    for (int32_t r = 0; r < job.nrows; ++r, ++entry, dstRow += w.pitch) {
        const int32_t need = RowsNeeded(*entry, v);
        while (fill.filled < need)
            if (!RunBatch<Kernel>(w, job, fill)) return;
        FilterOutputRow<Kernel>(rowJob, w.rows + (entry->start - v.firstGroupOffset), *entry,
                                dstRow);
    }
}

// The rounding the bytes are defined with (to nearest, no flush-to-zero, no
// denormals-are-zero, exceptions masked) for one call, whatever the caller's
// thread had set; the caller's state comes back afterwards.
class DefaultMxcsr {
public:
    DefaultMxcsr() : FSaved(_mm_getcsr()) { _mm_setcsr(0x1F80); }
    ~DefaultMxcsr() { _mm_setcsr(FSaved); }
    DefaultMxcsr(const DefaultMxcsr &) = delete;
    DefaultMxcsr &operator=(const DefaultMxcsr &) = delete;

private:
    unsigned FSaved;
};

// Every tile left on the counter, then a fence: non-temporal stores become
// visible to the caller's threads in order.
template <class Kernel>
void ProcessTiles(void *dst, const void *src, LinearFilterContext &ctx, int32_t threadIndex) {
    const DefaultMxcsr rounding;
    const ThreadWork w = ThreadWorkOf(dst, src, ctx, threadIndex);
    for (int32_t i = TakeTile(ctx); i < ctx.tileCount; i = TakeTile(ctx))
        ProcessTile<Kernel>(w, LocateTile(ctx, i));
    _mm_sfence();
}

}  // namespace
}  // namespace kernel_tiles
