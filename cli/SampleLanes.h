// The arithmetic of SampleRows written once over a set of lanes `L`: one
// scalar, four (SSE2) or eight (AVX2). Each tier's file supplies its `L`
// and compiles these with its own flags, so every tier does the same
// operations in the same order, lane by lane.
//
// `L` gives Real and Int (float and int32 lanes) and: Set (one value in every
// lane), ToReal, Sub, Mul, Add, Truncate and Nearest (Real to Int: towards
// zero, and by the processor's rounding to nearest; the values of a scale
// stay far inside int32, and the int16 clamp or pack that follows
// saturates), and for Int lanes MulLow (low 32 bits of the product), AddInt
// and ShiftRight (arithmetic, by a count in a scalar).
#pragma once
#include <xmmintrin.h>

#include "cli/RoundHalfAway.h"
#include "cli/SampleRows.h"

namespace sample_lanes {

// A sum of codes onto the host's scale (see THostScale), unclamped.
template <class L>
struct THostLanes {
    typename L::Real Offset, Factor;
    bool Nearest;
    explicit THostLanes(THostScale s)
        : Offset(L::Set(s.Offset)),
          Factor(L::Set(s.Factor)),
          Nearest(s.NoHalves && _MM_GET_ROUNDING_MODE() == _MM_ROUND_NEAREST) {}
    typename L::Int operator()(typename L::Int sums) const {
        const typename L::Real v = L::Mul(L::Sub(L::ToReal(sums), Offset), Factor);
        return Nearest ? L::Nearest(v) : RoundHalfAwayLanes<L>(v);
    }
};

// A sum of host values onto codes (see TCodeScale) where every step fits
// int32, unclamped.
template <class L>
struct TCodeLanes {
    typename L::Int Factor, Bias;
    int Shift;
    explicit TCodeLanes(TCodeScale s)
        : Factor(L::Set(s.Factor)), Bias(L::Set(int32_t(s.Bias))), Shift(s.Shift) {}
    typename L::Int operator()(typename L::Int sums) const {
        return L::ShiftRight(L::AddInt(L::MulLow(sums, Factor), Bias), Shift);
    }
};

}  // namespace sample_lanes
