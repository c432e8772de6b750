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
    int32_t firstPair;       /* first source column / 2 */
    int32_t firstPairOffset; /* firstPair * 2 * 48, strip-buffer bytes */
    int32_t pairCount;
    const WeightEntry *firstEntry;
} HorizontalTile;

/* One tile row: the source row groups of four it converts. */
typedef struct VerticalTile {
    int32_t firstGroup;       /* first source row / 4 */
    int32_t firstGroupOffset; /* firstGroup * 4 * rowPitch, row-buffer bytes */
    int32_t groupCount;
    const WeightEntry *firstEntry;
} VerticalTile;

/* Everything a kernel reads for one geometry; owned by the driver. */
typedef struct LinearFilterContext {
    int32_t srcWidth;
    int32_t srcHeight;
    int32_t dstWidth;
    int32_t dstHeight;
    int32_t srcPitch;     /* bytes per frame line, source and destination */
    WeightTable hWeights; /* unit columnUnit */
    WeightTable vWeights; /* unit rowPitch */
    int32_t columnUnit;   /* 48 */
    int32_t dstPitch;
    uint8_t *stripBuffer;    /* all threads' strip buffers, 128-aligned */
    int32_t stripBufferSize; /* bytes per thread */
    uint8_t *rowBuffer;      /* all threads' row buffers, 128-aligned */
    int32_t rowBufferSize;   /* bytes per thread */
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
    int32_t tileWidth;  /* 64 */
    int32_t tileHeight; /* 160 */
    int32_t rowPitch;   /* 896 */
} LinearFilterPluginInfo;

typedef const LinearFilterPluginInfo *(MV_CDECL *GetLinearFilterPluginInfoFunc)(void);

#ifdef __cplusplus
}
#endif

#if MV_POINTERS_ARE_32BIT
MV_ABI_CHECK(sizeof(WeightEntry) == 8);
MV_ABI_CHECK(offsetof(WeightEntry, weights) == 4);
MV_ABI_CHECK(sizeof(WeightTable) == 8);
MV_ABI_CHECK(sizeof(HorizontalTile) == 16);
MV_ABI_CHECK(offsetof(HorizontalTile, firstPairOffset) == 4);
MV_ABI_CHECK(offsetof(HorizontalTile, pairCount) == 8);
MV_ABI_CHECK(offsetof(HorizontalTile, firstEntry) == 12);
MV_ABI_CHECK(sizeof(VerticalTile) == 16);
MV_ABI_CHECK(offsetof(VerticalTile, firstGroupOffset) == 4);
MV_ABI_CHECK(offsetof(VerticalTile, groupCount) == 8);
MV_ABI_CHECK(offsetof(VerticalTile, firstEntry) == 12);
MV_ABI_CHECK(sizeof(LinearFilterContext) == 92);
MV_ABI_CHECK(offsetof(LinearFilterContext, srcPitch) == 16);
MV_ABI_CHECK(offsetof(LinearFilterContext, hWeights) == 20);
MV_ABI_CHECK(offsetof(LinearFilterContext, vWeights) == 28);
MV_ABI_CHECK(offsetof(LinearFilterContext, columnUnit) == 36);
MV_ABI_CHECK(offsetof(LinearFilterContext, dstPitch) == 40);
MV_ABI_CHECK(offsetof(LinearFilterContext, stripBuffer) == 44);
MV_ABI_CHECK(offsetof(LinearFilterContext, stripBufferSize) == 48);
MV_ABI_CHECK(offsetof(LinearFilterContext, rowBuffer) == 52);
MV_ABI_CHECK(offsetof(LinearFilterContext, rowBufferSize) == 56);
MV_ABI_CHECK(offsetof(LinearFilterContext, tileCount) == 60);
MV_ABI_CHECK(offsetof(LinearFilterContext, tilesAcross) == 64);
MV_ABI_CHECK(offsetof(LinearFilterContext, tilesDown) == 68);
MV_ABI_CHECK(offsetof(LinearFilterContext, hTiles) == 72);
MV_ABI_CHECK(offsetof(LinearFilterContext, vTiles) == 76);
MV_ABI_CHECK(offsetof(LinearFilterContext, toLinear) == 80);
MV_ABI_CHECK(offsetof(LinearFilterContext, fromLinear) == 84);
MV_ABI_CHECK(offsetof(LinearFilterContext, nextTile) == 88);
MV_ABI_CHECK(sizeof(LinearFilterPluginInfo) == 28);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, GetStripBufferSize) == 4);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, GetRowBufferSize) == 8);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, Process) == 12);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, tileWidth) == 16);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, tileHeight) == 20);
MV_ABI_CHECK(offsetof(LinearFilterPluginInfo, rowPitch) == 24);
#endif

#endif
