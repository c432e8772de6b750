// Tessolk's Process: tiles of 64 × 160 destination pixels taken from the
// shared counter. Per tile, source rows are converted four at a time into the
// strip buffer and filtered horizontally into the row buffer; each output
// row is then filtered vertically in groups of eight columns and written.
#include <emmintrin.h>
#include <string.h>

#include "kernels/common/KernelGeometry.h"
#include "kernels/sse/SseColour.h"
#include "kernels/sse/SseFilter.h"
#include "kernels/sse/Tessolk.h"

namespace tessolk {
namespace {

using namespace kernel_geometry;

// What one thread works with for a whole call.
struct ThreadWork {
    const LinearFilterContext *ctx;
    SourceBounds src;
    uint8_t *dst;
    ptrdiff_t pitch;
    bool streamed;      // frame and pitch allow aligned non-temporal stores
    uint8_t *strip;     // this thread's strip buffer, 16-aligned
    uint8_t *rows;      // this thread's row buffer, 16-aligned
    int32_t rowBytes;   // its size
};

// Row-buffer progress of the tile in hand.
struct TileFill {
    int32_t nextRow;  // next source row to convert
    int32_t filled;   // row-buffer bytes written
};

void ConvertRows(const ThreadWork &w, const HorizontalTile &h, int32_t row) {
    const uint8_t *const rows[4] = {w.src.Row(row), w.src.Row(row + 1), w.src.Row(row + 2),
                                    w.src.Row(row + 3)};
    float *strip = reinterpret_cast<float *>(w.strip);
    for (int32_t p = 0, col = 2 * h.firstPair; p < h.pairCount; ++p, col += 2)
        ConvertPair(rows, w.src.Column(col), w.src.Column(col + 1), w.ctx->toLinear,
                    strip + 24 * p);
}

void FilterRows(const ThreadWork &w, const HorizontalTile &h, int32_t ncols, uint8_t *fill) {
    const WeightEntry *entry = h.firstEntry;
    for (int32_t c = 0; c < ncols; ++c, ++entry, fill += 12) {
        __m128 s0, s1, s2;
        FilterColumn(w.strip + (entry->start - h.firstPairOffset), entry->weights,
                     TapCount(*entry), s0, s1, s2);
        StoreColumnRows(fill, s0, s1, s2);
    }
}

// Fills the next four row-buffer rows. False when they would not fit, which
// only a weight table beyond the buffer's bound can cause.
bool RunBatch(const ThreadWork &w, const TileJob &job, TileFill &fill) {
    if (fill.filled + GroupBytes > w.rowBytes) return false;
    ConvertRows(w, *job.h, fill.nextRow);
    FilterRows(w, *job.h, job.ncols, w.rows + fill.filled);
    fill.filled += GroupBytes;
    fill.nextRow += 4;
    return true;
}

// Stores eight pixels; a group cut by the tile's last column writes only
// its pixels inside the image, so nothing reaches another line.
void StoreGroup(const ThreadWork &w, uint8_t *to, const int16_t *pixels, int32_t count) {
    const __m128i *v = reinterpret_cast<const __m128i *>(pixels);
    __m128i *d = reinterpret_cast<__m128i *>(to);
    if (count < 8) {
        memcpy(to, pixels, static_cast<size_t>(count) * PixelBytes);
    } else if (w.streamed) {
        _mm_stream_si128(d, _mm_load_si128(v));
        _mm_stream_si128(d + 1, _mm_load_si128(v + 1));
        _mm_stream_si128(d + 2, _mm_load_si128(v + 2));
    } else {
        _mm_storeu_si128(d, _mm_load_si128(v));
        _mm_storeu_si128(d + 1, _mm_load_si128(v + 1));
        _mm_storeu_si128(d + 2, _mm_load_si128(v + 2));
    }
}

// One output row: `rows` is the row-buffer row of its first tap.
void FilterOutputRow(const ThreadWork &w, const uint8_t *rows, const WeightEntry &entry,
                     int32_t ncols, uint8_t *dstRow) {
    const int32_t n = TapCount(entry);
    const int32_t groups = (6 * ncols + 47) / 48;
    for (int32_t g = 0; g < groups; ++g) {
        __m128 sums[6];
        for (int b = 0; b < 3; ++b)
            FilterBlock(rows + 96 * g + 32 * b, entry.weights, n, sums[2 * b], sums[2 * b + 1]);
        alignas(16) int16_t pixels[24];
        ConvertGroupOut(sums, w.ctx->fromLinear, pixels);
        const int32_t left = ncols - 8 * g;
        StoreGroup(w, dstRow + 48 * g, pixels, left < 8 ? left : 8);
    }
}

void ProcessTile(const ThreadWork &w, const TileJob &job) {
    const VerticalTile &v = *job.v;
    TileFill fill{4 * v.firstGroup, 0};
    uint8_t *dstRow = w.dst + ptrdiff_t{TileHeight} * job.row * w.pitch +
                      ptrdiff_t{TileWidth} * PixelBytes * job.column;
    const WeightEntry *entry = v.firstEntry;
    for (int32_t r = 0; r < job.nrows; ++r, ++entry, dstRow += w.pitch) {
        const int32_t need = RowsNeeded(*entry, v);
        while (fill.filled < need)
            if (!RunBatch(w, job, fill)) return;
        FilterOutputRow(w, w.rows + (entry->start - v.firstGroupOffset), *entry, job.ncols,
                        dstRow);
    }
}

}  // namespace

void MV_CDECL Process(void *dst, const void *src, LinearFilterContext *context,
                      int32_t threadIndex, int32_t) {
    LinearFilterContext &ctx = *context;
    const ThreadWork w{
        &ctx,
        SourceBoundsOf(src, ctx),
        static_cast<uint8_t *>(dst),
        ctx.srcPitch,
        ((reinterpret_cast<uintptr_t>(dst) | static_cast<uintptr_t>(ctx.srcPitch)) & 15) == 0,
        ctx.stripBuffer + ptrdiff_t{threadIndex} * ctx.stripBufferSize,
        ctx.rowBuffer + ptrdiff_t{threadIndex} * ctx.rowBufferSize,
        ctx.rowBufferSize,
    };
    for (int32_t i = TakeTile(ctx); i < ctx.tileCount; i = TakeTile(ctx))
        ProcessTile(w, LocateTile(ctx, i));
    // Non-temporal stores become visible to the caller's threads in order.
    _mm_sfence();
}

}  // namespace tessolk
