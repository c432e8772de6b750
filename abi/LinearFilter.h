/* Records shared by the resize driver and the kernel plug-ins. Plain C, fixed
   field order; on 32-bit builds the offsets are the plug-in ABI and are
   checked below. On 64-bit builds pointers widen with natural alignment. */
#ifndef MORVANE_LINEARFILTER_H
#define MORVANE_LINEARFILTER_H

#include <stdint.h>
#include <stddef.h>
#include "abi/CallConv.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One output position's taps: `start` is the first source position times the
   direction's unit (a byte offset into the kernel's buffers); `weights`
   points at float32 weights preceded by their int32 count. */
typedef struct WeightEntry {
    int32_t start;
    float *weights;
} WeightEntry;

/* One direction's weights: the value block and one entry per output position. */
typedef struct WeightTable {
    void *values;
    WeightEntry *entries;
} WeightTable;

/* One tile column: the source column pairs it converts. */
typedef struct HorizontalTile {
    int32_t firstPair;        /* first source column / 2 */
    int32_t firstPairOffset;  /* firstPair * 2 * 48, strip-buffer bytes */
    int32_t pairCount;
    const WeightEntry *firstEntry;
} HorizontalTile;

/* One tile row: the source row groups of four it converts. */
typedef struct VerticalTile {
    int32_t firstGroup;        /* first source row / 4 */
    int32_t firstGroupOffset;  /* firstGroup * 4 * rowPitch, row-buffer bytes */
    int32_t groupCount;
    const WeightEntry *firstEntry;
} VerticalTile;

/* Everything a kernel reads for one geometry; owned by the driver. */
typedef struct LinearFilterContext {
    int32_t srcWidth;
    int32_t srcHeight;
    int32_t dstWidth;
    int32_t dstHeight;
    int32_t srcPitch;          /* bytes per frame line, source and destination */
    WeightTable hWeights;      /* unit columnUnit */
    WeightTable vWeights;      /* unit rowPitch */
    int32_t columnUnit;        /* 48 */
    int32_t dstPitch;
    uint8_t *stripBuffer;      /* all threads' strip buffers, 128-aligned */
    int32_t stripBufferSize;   /* bytes per thread */
    uint8_t *rowBuffer;        /* all threads' row buffers, 128-aligned */
    int32_t rowBufferSize;     /* bytes per thread */
    int32_t tileCount;
    int32_t tilesAcross;
    int32_t tilesDown;
    HorizontalTile *hTiles;
    VerticalTile *vTiles;
    const float *toLinear;     /* 4097 entries: code -> linear 0..65535 */
    const int16_t *fromLinear; /* 65536 entries: linear -> code */
    int32_t nextTile;          /* taken by atomic increment */
} LinearFilterContext;

typedef int32_t(MV_CDECL *BufferSizeFunc)(LinearFilterContext *context, int32_t maxRadius);
typedef void(MV_CDECL *ProcessFunc)(void *dst, const void *src, LinearFilterContext *context,
                                    int32_t threadIndex, int32_t threadCount);

/* What GetLinearFilterPluginInfo returns; static inside the kernel library. */
typedef struct LinearFilterPluginInfo {
    const char *name;
    BufferSizeFunc GetStripBufferSize;
    BufferSizeFunc GetRowBufferSize;
    ProcessFunc Process;
    int32_t tileWidth;   /* 64 */
    int32_t tileHeight;  /* 160 */
    int32_t rowPitch;    /* 896 */
} LinearFilterPluginInfo;

typedef const LinearFilterPluginInfo *(MV_CDECL *GetLinearFilterPluginInfoFunc)(void);

#ifdef __cplusplus
}
#endif

#if MV_POINTERS_ARE_32BIT
#ifdef __cplusplus
#define MV_STATIC_ASSERT static_assert
#else
#define MV_STATIC_ASSERT _Static_assert
#endif
MV_STATIC_ASSERT(sizeof(WeightEntry) == 8, "WeightEntry size");
MV_STATIC_ASSERT(offsetof(WeightEntry, weights) == 4, "WeightEntry.weights");
MV_STATIC_ASSERT(sizeof(WeightTable) == 8, "WeightTable size");
MV_STATIC_ASSERT(sizeof(HorizontalTile) == 16, "HorizontalTile size");
MV_STATIC_ASSERT(offsetof(HorizontalTile, firstPairOffset) == 4, "firstPairOffset");
MV_STATIC_ASSERT(offsetof(HorizontalTile, pairCount) == 8, "pairCount");
MV_STATIC_ASSERT(offsetof(HorizontalTile, firstEntry) == 12, "HorizontalTile.firstEntry");
MV_STATIC_ASSERT(sizeof(VerticalTile) == 16, "VerticalTile size");
MV_STATIC_ASSERT(offsetof(VerticalTile, firstGroupOffset) == 4, "firstGroupOffset");
MV_STATIC_ASSERT(offsetof(VerticalTile, groupCount) == 8, "groupCount");
MV_STATIC_ASSERT(offsetof(VerticalTile, firstEntry) == 12, "VerticalTile.firstEntry");
MV_STATIC_ASSERT(sizeof(LinearFilterContext) == 92, "LinearFilterContext size");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, srcPitch) == 16, "srcPitch");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, hWeights) == 20, "hWeights");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, vWeights) == 28, "vWeights");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, columnUnit) == 36, "columnUnit");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, dstPitch) == 40, "dstPitch");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, stripBuffer) == 44, "stripBuffer");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, stripBufferSize) == 48, "stripBufferSize");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, rowBuffer) == 52, "rowBuffer");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, rowBufferSize) == 56, "rowBufferSize");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, tileCount) == 60, "tileCount");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, tilesAcross) == 64, "tilesAcross");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, tilesDown) == 68, "tilesDown");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, hTiles) == 72, "hTiles");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, vTiles) == 76, "vTiles");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, toLinear) == 80, "toLinear");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, fromLinear) == 84, "fromLinear");
MV_STATIC_ASSERT(offsetof(LinearFilterContext, nextTile) == 88, "nextTile");
MV_STATIC_ASSERT(sizeof(LinearFilterPluginInfo) == 28, "LinearFilterPluginInfo size");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, GetStripBufferSize) == 4, "GetStripBufferSize");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, GetRowBufferSize) == 8, "GetRowBufferSize");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, Process) == 12, "Process");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, tileWidth) == 16, "tileWidth");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, tileHeight) == 20, "tileHeight");
MV_STATIC_ASSERT(offsetof(LinearFilterPluginInfo, rowPitch) == 24, "rowPitch");
#endif

#endif
