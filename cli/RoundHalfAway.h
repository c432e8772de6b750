// The one rounding rule of the tool's conversions: to nearest, halves away
// from zero.
#pragma once

// Halves away from zero: the whole part towards zero, then twice what is
// left, towards zero (1 or -1 from a half on, 0 below it). std::lround
// without the library call, which some C libraries get wrong just below a
// half. For one double, or for lanes of doubles or floats with `L`'s
// operations (Truncate, ToReal, Sub, Add, AddInt); with floats, adding a
// half first would round values just below a half up.
template <class L>
typename L::Int RoundHalfAwayLanes(typename L::Real v) {
    const typename L::Int whole = L::Truncate(v);
    const typename L::Real rest = L::Sub(v, L::ToReal(whole));  // exact
    return L::AddInt(whole, L::Truncate(L::Add(rest, rest)));
}

// One value as a lane, of any width.
template <class R, class I>
struct TOneLane {
    using Real = R;
    using Int = I;
    static Int Truncate(Real v) { return Int(v); }
    static Real ToReal(Int v) { return Real(v); }
    static Real Sub(Real a, Real b) { return a - b; }
    static Real Add(Real a, Real b) { return a + b; }
    static Int AddInt(Int a, Int b) { return a + b; }
};
using TOneDouble = TOneLane<double, long>;

inline long RoundHalfAway(double v) { return RoundHalfAwayLanes<TOneDouble>(v); }
