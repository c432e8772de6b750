// Uniform pixels through the whole colour path (YCbCr to RGB codes, the
// gamma 2.2 tables to linear light and back), worked out by hand: what a
// single tap of weight 1.0 gives, in the reference model and in every kernel.
#pragma once
#include "abi/HostAbi.h"

namespace testing_support {

struct TRoundTrip {
    PIXEL_YC in;
    PIXEL_YC out;
};

inline constexpr TRoundTrip KnownRoundTrips[] = {
    {{0, 0, 0}, {0, 0, 0}},
    {{4096, 0, 0}, {4094, 0, 0}},
    {{2048, 0, 0}, {2047, -1, -1}},
    {{1024, 0, 0}, {1023, -1, -1}},
    {{3000, 500, -300}, {2997, 498, -301}},
    {{4096, 2048, 2048}, {2821, 718, 907}},
};

}  // namespace testing_support
