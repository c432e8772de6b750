// One kernel run over a seeded random frame, checked against the reference
// model: identical pixels, nothing written outside the image, per-thread
// buffers not overrun.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "abi/LinearFilter.h"
#include "tests/support/KernelContext.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/TapTables.h"

namespace testing_support {

struct KernelCase {
    Geometry geometry;
    int32_t maxHeight = 0;  // lines per frame; 0: the larger of the two heights
    int32_t threads = 1;
    uint32_t seed = 1;
    int32_t srcOffset = 0;  // bytes past a 16-byte boundary
    int32_t dstOffset = 0;
    // The source frame ends at an inaccessible page (reads past it fault).
    bool srcAtPageEnd = false;
    // The MXCSR each calling thread has set; it must be unchanged afterwards.
    uint32_t callerMxcsr = DefaultMxcsr;
    // Replaces the gamma 2.2 forward table when set (4097 entries).
    const float *toLinear = nullptr;
};

// What the reference model must do to give a kernel's bytes: its
// horizontal tap order, and the HQ kernels' steps.
struct KernelModel {
    KernelModel(reference_model::TapOrder o, bool hq = false) : order(o), highQuality(hq) {}
    reference_model::TapOrder order;
    bool highQuality;
};

// Runs `kernel` with the given taps (one list per destination column and
// row) and compares with the reference model as `model` says.
// `stats`, when given, receives the reference's clamp counts.
testing::AssertionResult MatchesReference(const LinearFilterPluginInfo &kernel, const KernelCase &c,
                                          const TapTable &columns, const TapTable &rows,
                                          const KernelModel &model,
                                          reference_model::Stats *stats = nullptr);

}  // namespace testing_support
