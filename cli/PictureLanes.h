// The picture rows' conversions (PictureRows.h) written once over a set of
// double lanes `D`: two (SSE2) or four (AVX2). Each tier's file supplies its
// `D` and compiles these with its own flags; the operations and their order
// are those of SamplesToYc and YcToSamples, lane by lane, so every tier
// gives their values.
//
// `D` gives Real (doubles) and Int (int32 lanes, for RoundHalfAwayLanes),
// N (lanes), Set, Mul, Add, Sub, Div, Min, Max, Truncate, ToReal, AddInt,
// and FromInts / ToInts (N int32 in memory to doubles, and Int back).
#pragma once
#include <cstdint>
#include <cstring>

#include "abi/HostAbi.h"
#include "cli/RoundHalfAway.h"
#include "cli/YcConversion.h"

namespace picture_lanes {

// The samples and host values go through N int32: they are scattered,
// `step` apart or one part of a pixel, and neither instruction set gathers
// 16-bit values. FromInts takes the values themselves rather than loading
// them whole, which would wait for the separate stores just made.
template <class D, class T>
typename D::Real Load(const T *at, int step) {
    int32_t v[D::N];
    for (int i = 0; i < D::N; ++i) {
        T x;
        std::memcpy(&x, at + i * step, sizeof x);  // 16-bit rows may be unaligned
        v[i] = x;
    }
    return D::FromInts(v);
}

template <class D>
typename D::Real LoadPart(const PIXEL_YC *in, int16_t PIXEL_YC::*part) {
    int32_t v[D::N];
    for (int i = 0; i < D::N; ++i) v[i] = in[i].*part;
    return D::FromInts(v);
}

template <class D>
void StoreYc(typename D::Int y, typename D::Int cb, typename D::Int cr, PIXEL_YC *out) {
    int32_t ys[D::N], cbs[D::N], crs[D::N];
    D::ToInts(y, ys);
    D::ToInts(cb, cbs);
    D::ToInts(cr, crs);
    for (int i = 0; i < D::N; ++i) out[i] = {int16_t(ys[i]), int16_t(cbs[i]), int16_t(crs[i])};
}

template <class D, class T>
void StoreSamples(typename D::Int v, int step, T *at) {
    int32_t s[D::N];
    D::ToInts(v, s);
    for (int i = 0; i < D::N; ++i) at[i * step] = T(s[i]);
}

// Clamped before rounding: with whole bounds the result is the same as
// rounding first, and the value then fits int32.
template <class D>
typename D::Int Round(typename D::Real v, double low, double high) {
    return RoundHalfAwayLanes<D>(D::Min(D::Max(v, D::Set(low)), D::Set(high)));
}

// As RgbToYc and GreyToYc, each sample times `scale` first; the pixels done.
template <class D, class T>
int ToHost(const T *row, int channels, int width, double scale, PIXEL_YC *out) {
    using R = typename D::Real;
    const R s = D::Set(scale), codes = D::Set(kCodesPerByte);
    const typename D::Int zero{};
    int x = 0;
    for (; x + D::N <= width; x += D::N, row += D::N * channels, out += D::N) {
        if (channels == 1) {
            const R grey = D::Mul(Load<D>(row, 1), s);
            StoreYc<D>(Round<D>(D::Mul(grey, codes), 0, 4096), zero, zero, out);
            continue;
        }
        const R r = D::Mul(Load<D>(row, 3), s), g = D::Mul(Load<D>(row + 1, 3), s),
                b = D::Mul(Load<D>(row + 2, 3), s);
        const R y =
            D::Add(D::Add(D::Mul(D::Set(kKr), r), D::Mul(D::Set(kKg), g)), D::Mul(D::Set(kKb), b));
        const R cb = D::Div(D::Sub(b, y), D::Set(kCbScale));
        const R cr = D::Div(D::Sub(r, y), D::Set(kCrScale));
        StoreYc<D>(Round<D>(D::Mul(y, codes), 0, 4096), Round<D>(D::Mul(cb, codes), -2048, 2048),
                   Round<D>(D::Mul(cr, codes), -2048, 2048), out);
    }
    return x;
}

// As YcToRgb and YcToGrey, the results times `scale`; the pixels done.
template <class D, class T>
int FromHost(const PIXEL_YC *in, int width, int channels, double scale, int max, T *row) {
    using R = typename D::Real;
    const R s = D::Set(scale), codes = D::Set(kCodesPerByte);
    int x = 0;
    for (; x + D::N <= width; x += D::N, in += D::N, row += D::N * channels) {
        const R y = D::Div(LoadPart<D>(in, &PIXEL_YC::y), codes);
        if (channels == 1) {
            StoreSamples<D>(Round<D>(D::Mul(y, s), 0, max), 1, row);
            continue;
        }
        const R r =
            D::Add(y, D::Mul(D::Set(kCrScale), D::Div(LoadPart<D>(in, &PIXEL_YC::cr), codes)));
        const R b =
            D::Add(y, D::Mul(D::Set(kCbScale), D::Div(LoadPart<D>(in, &PIXEL_YC::cb), codes)));
        const R g =
            D::Div(D::Sub(D::Sub(y, D::Mul(D::Set(kKr), r)), D::Mul(D::Set(kKb), b)), D::Set(kKg));
        StoreSamples<D>(Round<D>(D::Mul(r, s), 0, max), 3, row);
        StoreSamples<D>(Round<D>(D::Mul(g, s), 0, max), 3, row + 1);
        StoreSamples<D>(Round<D>(D::Mul(b, s), 0, max), 3, row + 2);
    }
    return x;
}

// A row of samples of `depth` bits (8 or 16, in the machine's order) into
// the host's pixels, and back: the pixels done from the start.
template <class D>
int PictureIn(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out) {
    const double scale = 255.0 / ((1 << depth) - 1);
    if (depth == 8) return ToHost<D>(row, channels, width, scale, out);
    return ToHost<D>(reinterpret_cast<const uint16_t *>(row), channels, width, scale, out);
}

template <class D>
int PictureOut(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row) {
    const int max = (1 << depth) - 1;
    const double scale = max / 255.0;
    if (depth == 8) return FromHost<D>(in, width, channels, scale, max, row);
    return FromHost<D>(in, width, channels, scale, max, reinterpret_cast<uint16_t *>(row));
}

}  // namespace picture_lanes

// Each tier's rows, for the tier tables of SampleRows: SSE2 in
// PictureRows.cpp, AVX2 in PictureRowsAvx2.cpp (reached only after the
// processor check).
namespace picture_rows {
int InSse2(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out);
int OutSse2(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row);
int InAvx2(const uint8_t *row, int depth, int channels, int width, PIXEL_YC *out);
int OutAvx2(const PIXEL_YC *in, int width, int depth, int channels, uint8_t *row);
}  // namespace picture_rows
