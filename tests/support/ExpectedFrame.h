// What a frame resized with a weight builder must come out as.
#pragma once
#include <cstdint>
#include <vector>

#include "abi/HostAbi.h"
#include "resize/WeightSetter.h"
#include "tests/support/ReferenceModel.h"

namespace testing_support {

// The reference model's w × h result for a source image of sw × sh pixels
// (srcPitch pixels per line), with both weight tables from `builder` as the
// driver builds them and the shared gamma 2.2 tables;
// horizontally in the tap order of the kernel that makes the frame.
std::vector<PIXEL_YC> ExpectedFrame(
    TWeightSetter &builder, const PIXEL_YC *src, int32_t srcPitch, int32_t sw, int32_t sh,
    int32_t w, int32_t h,
    reference_model::TapOrder horizontalOrder = reference_model::TapOrder::InOrder);

}  // namespace testing_support
