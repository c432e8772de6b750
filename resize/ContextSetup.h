// Preparing a LinearFilterContext for one geometry, step by step: the
// driver's own preparation, also used by the kernel tests and benchmarks so
// that they run kernels on exactly what the driver hands them.
#pragma once
#include <cstdint>

#include "abi/LinearFilter.h"
#include "resize/WeightSetter.h"

struct TGeometry {
    int32_t srcWidth;
    int32_t srcHeight;
    int32_t dstWidth;
    int32_t dstHeight;
    int32_t pitch;  // bytes per frame line, source and destination
};

// Sizes, tile counts, pitches and the kernel's per-slot buffer sizes. Throws
// std::bad_alloc for a geometry whose offsets or sizes int32 cannot carry.
void SetGeometry(LinearFilterContext &c, const LinearFilterPluginInfo &kernel, const TGeometry &g);
// Strip and row buffers for `slots` threads, each block followed by
// `spareBytes` that no slot owns; the two tile tables.
void AllocateBuffers(LinearFilterContext &c, int32_t slots, int32_t spareBytes = 0);
// Both weight tables (reduce or enlarge per direction), then both tile tables.
void BuildTables(LinearFilterContext &c, const LinearFilterPluginInfo &kernel,
                 TWeightSetter &setter);
// Whether every tile's taps lie inside the source and inside the columns and
// row groups its tile record names, and those fit one slot's buffers.
bool TilesFitBuffers(const LinearFilterContext &c, int32_t rowPitch);
// Frees every block the context points to and zeroes it.
void FreeContext(LinearFilterContext &c);
