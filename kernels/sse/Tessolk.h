// Tessolk's three functions, as its record publishes them.
#pragma once
#include "abi/LinearFilter.h"

namespace tessolk {

int32_t MV_CDECL GetStripBufferSize(LinearFilterContext *context, int32_t maxRadius);
int32_t MV_CDECL GetRowBufferSize(LinearFilterContext *context, int32_t maxRadius);
// Takes tiles from context->nextTile until none is left; see SseProcess.cpp.
void MV_CDECL Process(void *dst, const void *src, LinearFilterContext *context, int32_t threadIndex,
                      int32_t threadCount);

}  // namespace tessolk
