#include "tests/support/ReferenceModel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "kernels/common/HqCurve.h"

// Each float product and sum must round to single precision as it is formed.
static_assert(FLT_EVAL_METHOD == 0, "the reference model needs SSE float arithmetic");

namespace reference_model {
namespace {

int16_t Wrap(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

int16_t Add16(int16_t a, int16_t b) { return Wrap(int32_t{a} + b); }

// 4·x formed in 16 bits.
int16_t Times4(int16_t x) { return Wrap(int32_t{x} * 4); }

// The upper 16 bits of the 32-bit product 4·x × k: floor(4·x × k / 65536).
int16_t Share(int16_t x, int32_t k) { return Wrap((int32_t{Times4(x)} * k) >> 16); }

int16_t Saturate16(int32_t v) {
    return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

int16_t ClampCode(int16_t v) { return v < 0 ? 0 : v > 4096 ? 4096 : v; }

int16_t Half(int16_t code) { return static_cast<int16_t>(static_cast<uint16_t>(code) >> 1); }

const WeightEntry &EntryOf(const WeightTable &table, int32_t position) {
    return table.entries[position];
}

int32_t CountOf(const WeightEntry &e) { return reinterpret_cast<const int32_t *>(e.weights)[-1]; }

// Linear B, G, R of every source pixel, three floats per pixel.
std::vector<float> LinearSource(const Job &job, const float *toLinear) {
    std::vector<float> out(size_t(job.srcWidth) * job.srcHeight * 3);
    for (int32_t y = 0; y < job.srcHeight; ++y)
        for (int32_t x = 0; x < job.srcWidth; ++x) {
            const Codes c = CodesOf(job.src[ptrdiff_t{y} * job.srcPitch + x]);
            float *p = &out[(size_t(y) * job.srcWidth + x) * 3];
            p[0] = toLinear[c.b];
            p[1] = toLinear[c.g];
            p[2] = toLinear[c.r];
        }
    return out;
}

float Min(float a, float b) { return a < b ? a : b; }
float Max(float a, float b) { return a > b ? a : b; }

// Every source row filtered to dstWidth columns; with `clamp` each value
// clamped against the two source columns nearest its centre.
std::vector<float> Horizontal(const Job &job, const std::vector<float> &linear, bool clamp) {
    std::vector<float> out(size_t(job.dstWidth) * job.srcHeight * 3);
    for (int32_t y = 0; y < job.srcHeight; ++y)
        for (int32_t x = 0; x < job.dstWidth; ++x) {
            const WeightEntry &e = EntryOf(*job.hWeights, x);
            const int32_t firstColumn = e.start / job.columnUnit;
            const float *row = &linear[size_t(y) * job.srcWidth * 3];
            int32_t a = 0, b = 0;
            if (clamp)
                NearestPair(x, job.srcWidth, job.dstWidth, firstColumn,
                            firstColumn + CountOf(e) - 1, a, b);
            for (int ch = 0; ch < 3; ++ch) {
                float v = SumTaps(e.weights, row + firstColumn * 3 + ch, CountOf(e), 3,
                                  job.horizontalOrder);
                if (clamp) v = ClampBetween(v, row[a * 3 + ch], row[b * 3 + ch]);
                out[(size_t(y) * job.dstWidth + x) * 3 + ch] = v;
            }
        }
    return out;
}

}  // namespace

Codes CodesOf(PIXEL_YC p) {
    const int16_t boff = Share(p.cb, 29032);
    const int16_t roff = Share(p.cr, 22970);
    const int32_t gsum = int32_t{Times4(p.cb)} * -5638 + int32_t{Times4(p.cr)} * -11700;
    const int16_t goff = Saturate16(gsum >> 16);
    return Codes{ClampCode(Add16(p.y, boff)), ClampCode(Add16(p.y, goff)),
                 ClampCode(Add16(p.y, roff))};
}

int16_t CodeOfLinear(float linear, const int16_t *fromLinear) {
    float v = linear > 0.0f ? linear : 0.0f;
    v = v < 65535.0f ? v : 65535.0f;
    const int32_t index = static_cast<int32_t>(std::nearbyint(v));
    return fromLinear[index & 0xFFFF];
}

PIXEL_YC PixelOf(Codes c) {
    PIXEL_YC p;
    p.y = Add16(Add16(Share(c.b, 1867), Share(c.g, 9617)), Share(c.r, 4898));
    p.cb = Add16(Add16(Half(c.b), Share(c.g, -5427)), Share(c.r, -2764));
    p.cr = Add16(Add16(Share(c.b, -1332), Share(c.g, -6859)), Half(c.r));
    return p;
}

float SumTaps(const float *w, const float *x, int32_t count, ptrdiff_t stride, TapOrder order) {
    if (order == TapOrder::InOrder) {
        float sum = 0.0f;
        for (int32_t k = 0; k < count; ++k) {
            const float product = w[k] * x[k * stride];
            sum = sum + product;
        }
        return sum;
    }
    float even = 0.0f, odd = 0.0f;
    const int32_t paired = count - count % 2;
    for (int32_t k = 0; k < paired; k += 2) {
        const float e = w[k] * x[k * stride];
        even = even + e;
        const float o = w[k + 1] * x[(k + 1) * stride];
        odd = odd + o;
    }
    float sum = even + odd;
    if (paired < count) {
        const float last = w[paired] * x[paired * stride];
        sum = sum + last;
    }
    return sum;
}

HqTables HqTablesFor(const float *toLinear, bool sigmoid) {
    // The boundary between codes c − 1 and c: the mean of their linear
    // values, through the curve in sigmoidal light; NaN is never reached.
    std::vector<double> bounds;
    for (int32_t c = 1; c <= 4096; ++c) {
        const double mean = 0.5 * (double(toLinear[c - 1]) + double(toLinear[c]));
        bounds.push_back(std::isnan(mean) ? INFINITY
                         : sigmoid        ? 65535.0 * kernel_hq_curve::Sigmoid(mean / 65535.0)
                                          : mean);
    }
    std::sort(bounds.begin(), bounds.end());
    HqTables t;
    // Index i covers 1 + v from the float of bits (i + base) << 11 to the
    // next, and holds the code of the boundaries at or below its middle.
    const auto start = [](int32_t i) {
        const uint32_t bits = (uint32_t(i) + (0x3F800000u >> 11)) << 11;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return double(f);
    };
    for (int32_t i = 0; i < 65536; ++i) {
        const double v = (start(i) + start(i + 1)) / 2 - 1.0;
        t.inverse.push_back(
            int16_t(std::upper_bound(bounds.begin(), bounds.end(), v) - bounds.begin()));
    }
    for (int32_t c = 0; c <= 4096; ++c)
        t.forward.push_back(
            sigmoid ? float(65535.0 * kernel_hq_curve::Sigmoid(double(toLinear[c]) / 65535.0))
                    : toLinear[c]);
    return t;
}

int32_t LogIndexOf(float sum) {
    float v = sum > 0.0f ? sum : 0.0f;
    v = v < 65534.0f ? v : 65534.0f;
    const float t = v + 1.0f;
    uint32_t bits;
    std::memcpy(&bits, &t, sizeof bits);
    return int32_t(bits >> 11) - int32_t(0x3F800000u >> 11);
}

int16_t CodeOfLogIndex(float sum, const int16_t *inverse) { return inverse[LogIndexOf(sum)]; }

void NearestPair(int32_t out, int32_t src, int32_t dst, int32_t first, int32_t last, int32_t &a,
                 int32_t &b) {
    // floor of the centre, (2·out + 1)·src − dst over 2·dst, in integers.
    const int64_t num = (2 * int64_t{out} + 1) * src - dst, den = 2 * int64_t{dst};
    int64_t below = num / den;
    if (num % den != 0 && num < 0) --below;
    a = int32_t(std::clamp<int64_t>(below, first, last));
    b = int32_t(std::clamp<int64_t>(below + 1, first, last));
}

float ClampBetween(float v, float x, float y) { return Min(Max(v, Min(x, y)), Max(x, y)); }

Stats Resize(const Job &job, PIXEL_YC *dst, int32_t dstPitch) {
    const bool wider = job.dstWidth > job.srcWidth, taller = job.dstHeight > job.srcHeight;
    const bool sigmoid = job.highQuality && (wider || taller) && job.dstWidth >= job.srcWidth &&
                         job.dstHeight >= job.srcHeight;
    HqTables hq;
    if (job.highQuality) hq = HqTablesFor(job.toLinear, sigmoid);
    const bool clampColumns = job.highQuality && wider, clampRows = job.highQuality && taller;
    const std::vector<float> rows = Horizontal(
        job, LinearSource(job, job.highQuality ? hq.forward.data() : job.toLinear), clampColumns);
    const ptrdiff_t rowStride = ptrdiff_t{job.dstWidth} * 3;
    Stats stats;
    for (int32_t y = 0; y < job.dstHeight; ++y) {
        const WeightEntry &e = EntryOf(*job.vWeights, y);
        const int32_t firstRow = e.start / job.rowUnit;
        const float *first = &rows[size_t(firstRow) * rowStride];
        int32_t a = 0, b = 0;
        if (clampRows)
            NearestPair(y, job.srcHeight, job.dstHeight, firstRow, firstRow + CountOf(e) - 1, a, b);
        for (int32_t x = 0; x < job.dstWidth; ++x) {
            int16_t code[3];
            for (int ch = 0; ch < 3; ++ch) {
                float sum = SumTaps(e.weights, first + x * 3 + ch, CountOf(e), rowStride,
                                    TapOrder::InOrder);
                if (clampRows)
                    sum = ClampBetween(sum, rows[a * rowStride + x * 3 + ch],
                                       rows[b * rowStride + x * 3 + ch]);
                stats.belowZero += sum < 0.0f;
                stats.aboveTop += sum > 65535.0f;
                code[ch] = job.highQuality ? CodeOfLogIndex(sum, hq.inverse.data())
                                           : CodeOfLinear(sum, job.fromLinear);
            }
            dst[ptrdiff_t{y} * dstPitch + x] = PixelOf(Codes{code[0], code[1], code[2]});
        }
    }
    return stats;
}

}  // namespace reference_model
