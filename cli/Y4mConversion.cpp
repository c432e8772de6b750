#include "cli/Y4mConversion.h"

#include "cli/SampleRows.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <type_traits>
#include <vector>

namespace {

// 16-bit samples are little-endian in the stream and read in place.
static_assert(std::endian::native == std::endian::little);
typedef uint16_t TWord __attribute__((may_alias));
// What the row loops take: codes of 8 bits as bytes, deeper ones as words.
template <class T>
using TSample = std::conditional_t<sizeof(T) == 1, uint8_t, uint16_t>;

// One kind of plane: host = (code - Offset) * 4096 / Range.
struct TScale {
    double Offset, Range;
};

TScale LumaScale(const TY4mFormat &f) {
    const double unit = double(1 << (f.Depth - 8));
    if (f.FullRange) return {0, double((1 << f.Depth) - 1)};
    return {16 * unit, 219 * unit};
}

TScale ChromaScale(const TY4mFormat &f) {
    const double unit = double(1 << (f.Depth - 8));
    if (f.FullRange) return {128 * unit, double((1 << f.Depth) - 1)};
    return {128 * unit, 224 * unit};
}

// Whether no exact result of a scale lies at a half or within float's error
// of one. The exact results are whole multiples of 4096 / (Range * sum), in
// lowest terms p / q: with q even some are halves; with q odd none lies
// nearer to a half than 1 / (2q). Float rounds the factor once and the
// product once, 2^-23 of the largest result at most; twice that must fall
// short of 1 / (2q). Every 8-bit scale passes, as do most limited-range
// ones; full range from 10 bits on does not (q = 1023 and up).
bool NoHalves(const TScale &s, int sum, int depth) {
    const int64_t den = int64_t(s.Range) * sum, q = den / std::gcd(int64_t(4096), den);
    if (q % 2 == 0) return false;
    const double codes = std::max(s.Offset, double((1 << depth) - 1) - s.Offset) * sum;
    const double largest = codes * 4096 / (s.Range * sum);
    return 2 * largest * std::ldexp(1.0, -23) < 1.0 / (2 * double(q));
}

// A sum of codes weighted by whole numbers adding up to `sum`, onto the
// host's scale.
THostScale ToHost(const TScale &s, int sum, int depth) {
    return {float(s.Offset * sum), float(4096 / s.Range / sum), NoHalves(s, sum, depth)};
}

// A sum of host values weighted by whole numbers adding up to `sum` (a power
// of two), onto codes: code = sum * Range / (4096 * sum) + Offset, rounded
// half up.
TCodeScale ToCode(const TScale &s, int sum, int depth) {
    const int shift = 12 + std::countr_zero(unsigned(sum));
    const int64_t bias = (int64_t(s.Offset) << shift) + (int64_t(1) << (shift - 1));
    const int64_t largest = int64_t(32768) * sum * int64_t(s.Range) + bias;
    return {int32_t(s.Range), bias, shift, (1 << depth) - 1, largest <= INT32_MAX};
}

// Chroma rows behind one luma row (or luma rows behind one chroma row):
// indices and whole weights, `Sum` in all.
struct TTaps {
    int Row[3];
    int Weight[3];
    int Sum;
};

int Clamp(int i, int count) { return std::clamp(i, 0, count - 1); }

// Linear interpolation at luma line y of `count` chroma lines, sited at 2i
// (2i + 0.5 when centred): weights in quarters.
TTaps UpTaps(int y, int count, bool centred) {
    const int k = y / 2;
    if (centred)
        return y % 2 ? TTaps{{k, Clamp(k + 1, count), k}, {3, 1, 0}, 4}
                     : TTaps{{Clamp(k - 1, count), k, k}, {1, 3, 0}, 4};
    return y % 2 ? TTaps{{k, Clamp(k + 1, count), k}, {2, 2, 0}, 4}
                 : TTaps{{k, k, k}, {4, 0, 0}, 4};
}

// The [1 1]/2 or [1 2 1]/4 average of `count` luma lines at chroma line i.
TTaps DownTaps(int i, int count, bool centred) {
    if (centred) return {{2 * i, Clamp(2 * i + 1, count), 2 * i}, {1, 1, 0}, 2};
    return {{Clamp(2 * i - 1, count), 2 * i, Clamp(2 * i + 1, count)}, {1, 2, 1}, 4};
}

TTaps SameLine(int row) { return {{row, row, row}, {1, 0, 0}, 1}; }

// Per-band scratch of the way in, one line each; sums of codes in `TSum`,
// 16 bits wherever sixteen codes fit (up to 12-bit samples), so that the
// compiler's vectors hold eight of them.
template <class TSum>
struct TLines {
    std::vector<TSum> Sums, Wide;
    std::vector<int16_t> Y, Cb, Cr;
    void Fit(int cw, int w) {
        Sums.resize(std::size_t(cw) + 2);
        Wide.resize(2 * std::size_t(cw));
        Y.resize(w);
        Cb.resize(w);
        Cr.resize(w);
    }
};

// A worker's scratch, kept for its life: a frame is cut into many bands,
// and allocating lines for each would cost more than they save (and with
// a checking allocator, memory that follows the stream's length).
template <class T>
T &Scratch() {
    thread_local T lines;
    return lines;
}

// A chroma plane's interpolated line `taps`, at full width into `out`.
template <class T, class TSum>
void UpsampleLine(const T *plane, int cw, int width, const TTaps &taps, bool centred,
                  TLines<TSum> &l, THostScale toHost, int16_t *out) {
    TSum *v = l.Sums.data() + 1;  // v[-1] and v[cw] repeat the edges
    const T *a = plane + std::size_t(taps.Row[0]) * cw, *b = plane + std::size_t(taps.Row[1]) * cw;
    const TSum wa = TSum(taps.Weight[0]), wb = TSum(taps.Weight[1]);
    for (int i = 0; i < cw; ++i) v[i] = TSum(wa * a[i] + wb * b[i]);
    v[-1] = v[0];
    v[cw] = v[cw - 1];
    if (cw == width) {
        ScaleToHost(v, width, toHost, out);
        return;
    }
    TSum *s = l.Wide.data();
    if (centred)
        for (int k = 0; k < cw; ++k) {
            s[2 * k] = TSum(v[k - 1] + 3 * v[k]);
            s[2 * k + 1] = TSum(3 * v[k] + v[k + 1]);
        }
    else
        for (int k = 0; k < cw; ++k) {
            s[2 * k] = TSum(4 * v[k]);
            s[2 * k + 1] = TSum(2 * v[k] + 2 * v[k + 1]);
        }
    ScaleToHost(s, width, toHost, out);
}

template <class T, class TSum>
void ToHostRowsOf(const TY4mFormat &f, const uint8_t *frame, PIXEL_YC *host, int stride, int first,
                  int last) {
    const int w = f.Width, cw = f.ChromaWidth(), ch = f.ChromaHeight();
    const bool colour = f.Chroma != TChroma::Mono, halfX = colour && cw != w,
               halfY = colour && ch != f.Height;
    const T *luma = reinterpret_cast<const T *>(frame);
    const T *cb = reinterpret_cast<const T *>(frame + f.PlaneOffset(1));
    const T *cr = reinterpret_cast<const T *>(frame + f.PlaneOffset(2));
    const THostScale lumaToHost = ToHost(LumaScale(f), 1, f.Depth);
    const THostScale chromaToHost =
        ToHost(ChromaScale(f), (halfX ? 4 : 1) * (halfY ? 4 : 1), f.Depth);
    TLines<TSum> &l = Scratch<TLines<TSum>>();
    l.Fit(cw, w);
    for (int y = first; y < last; ++y) {
        const T *row = luma + std::size_t(y) * w;
        ScaleToHost(reinterpret_cast<const TSample<T> *>(row), w, lumaToHost, l.Y.data());
        if (colour) {
            const TTaps taps = halfY ? UpTaps(y, ch, f.CentredY) : SameLine(y);
            UpsampleLine(cb, cw, w, taps, f.CentredX, l, chromaToHost, l.Cb.data());
            UpsampleLine(cr, cw, w, taps, f.CentredX, l, chromaToHost, l.Cr.data());
        }
        PackPixels(l.Y.data(), colour ? l.Cb.data() : nullptr, colour ? l.Cr.data() : nullptr, w,
                   host + std::size_t(y) * stride);
    }
}

// Lines of a band on the way back: one host line's luma, the weighted sums
// of cb and cr, and the line they are cut down to.
struct TBandLines {
    std::vector<int32_t> Y, SumCb, SumCr, Line;
    void Fit(int width) {
        Y.resize(width);
        SumCb.resize(std::size_t(width) + 2);
        SumCr.resize(std::size_t(width) + 2);
        Line.resize(width);
    }
};

// A chroma line from the weighted sum `v` of full lines (v[-1] and v[width]
// must repeat the edges).
template <class T>
void DownsampleLine(const int32_t *v, int width, int cw, bool centred, int32_t *line,
                    TCodeScale toCode, T *out) {
    if (cw == width) {
        ScaleToCodes(v, cw, toCode, out);
        return;
    }
    if (centred)
        for (int i = 0; i < cw; ++i) line[i] = v[2 * i] + v[2 * i + 1];
    else
        for (int i = 0; i < cw; ++i) line[i] = v[2 * i - 1] + 2 * v[2 * i] + v[2 * i + 1];
    ScaleToCodes(line, cw, toCode, out);
}

template <class T>
void ToStreamRowsOf(const TY4mFormat &f, const PIXEL_YC *host, int stride, uint8_t *frame,
                    int first, int last) {
    const int w = f.Width, h = f.Height, cw = f.ChromaWidth(), ch = f.ChromaHeight();
    const bool colour = f.Chroma != TChroma::Mono, halfX = colour && cw != w,
               halfY = colour && ch != h;
    TSample<T> *luma = reinterpret_cast<TSample<T> *>(frame);
    TSample<T> *cb = reinterpret_cast<TSample<T> *>(frame + f.PlaneOffset(1));
    TSample<T> *cr = reinterpret_cast<TSample<T> *>(frame + f.PlaneOffset(2));
    const TCodeScale lumaToCode = ToCode(LumaScale(f), 1, f.Depth);
    const TCodeScale chromaToCode =
        ToCode(ChromaScale(f),
               (halfX ? (f.CentredX ? 2 : 4) : 1) * (halfY ? (f.CentredY ? 2 : 4) : 1), f.Depth);
    TBandLines &l = Scratch<TBandLines>();
    l.Fit(w);
    int32_t *sumCb = l.SumCb.data() + 1, *sumCr = l.SumCr.data() + 1;
    const int lumaPerBand = halfY ? 2 : 1;
    for (int band = first; band < last; ++band) {
        // The band's luma lines are among its chroma taps; each host line
        // is unpacked once for both.
        const TTaps taps = halfY ? DownTaps(band, h, f.CentredY) : SameLine(band);
        const int lumaFirst = band * lumaPerBand, lumaLast = std::min(h, lumaFirst + lumaPerBand);
        bool add = false;
        for (int t = 0, done = lumaFirst; t < 3; ++t) {
            const int row = taps.Row[t], weight = taps.Weight[t];
            if (!weight) continue;
            const bool lumaRow = row == done && done < lumaLast;
            UnpackPixels(host + std::size_t(row) * stride, w, lumaRow ? l.Y.data() : nullptr,
                         colour ? sumCb : nullptr, colour ? sumCr : nullptr, weight, add);
            add = true;
            if (lumaRow) {
                ScaleToCodes(l.Y.data(), w, lumaToCode, luma + std::size_t(row) * w);
                ++done;
            }
        }
        if (!colour) continue;
        sumCb[-1] = sumCb[0];
        sumCr[-1] = sumCr[0];
        sumCb[w] = sumCb[w - 1];
        sumCr[w] = sumCr[w - 1];
        const std::size_t at = std::size_t(band) * cw;
        DownsampleLine(sumCb, w, cw, f.CentredX, l.Line.data(), chromaToCode, cb + at);
        DownsampleLine(sumCr, w, cw, f.CentredX, l.Line.data(), chromaToCode, cr + at);
    }
}

}  // namespace

void ToHostRows(const TY4mFormat &f, const uint8_t *frame, PIXEL_YC *host, int stride, int first,
                int last) {
    if (f.Depth > 12)
        ToHostRowsOf<TWord, int32_t>(f, frame, host, stride, first, last);
    else if (f.Depth > 8)
        ToHostRowsOf<TWord, uint16_t>(f, frame, host, stride, first, last);
    else
        ToHostRowsOf<uint8_t, uint16_t>(f, frame, host, stride, first, last);
}

int StreamBands(const TY4mFormat &f) {
    return f.Chroma == TChroma::Mono ? f.Height : f.ChromaHeight();
}

void ToStreamRows(const TY4mFormat &f, const PIXEL_YC *host, int stride, uint8_t *frame, int first,
                  int last) {
    if (f.Depth > 8)
        ToStreamRowsOf<TWord>(f, host, stride, frame, first, last);
    else
        ToStreamRowsOf<uint8_t>(f, host, stride, frame, first, last);
}

TYcImage ToYcImage(const TY4mFormat &f, const TY4mFrame &frame) {
    TYcImage image(f.Width, f.Height);
    ToHostRows(f, frame.Bytes.data(), image.Pixels.data(), f.Width, 0, f.Height);
    return image;
}

TY4mFrame ToY4mFrame(const TY4mFormat &format, const TYcImage &image) {
    TY4mFormat f = format;
    f.Width = image.Width;
    f.Height = image.Height;
    TY4mFrame frame;
    frame.Bytes.resize(f.FrameBytes());
    ToStreamRows(f, image.Pixels.data(), image.Width, frame.Bytes.data(), 0, StreamBands(f));
    return frame;
}
