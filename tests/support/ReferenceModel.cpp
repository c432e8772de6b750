#include "tests/support/ReferenceModel.h"

#include <cfloat>
#include <cmath>
#include <vector>

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
std::vector<float> LinearSource(const Job &job) {
    std::vector<float> out(size_t(job.srcWidth) * job.srcHeight * 3);
    for (int32_t y = 0; y < job.srcHeight; ++y)
        for (int32_t x = 0; x < job.srcWidth; ++x) {
            const Codes c = CodesOf(job.src[ptrdiff_t{y} * job.srcPitch + x]);
            float *p = &out[(size_t(y) * job.srcWidth + x) * 3];
            p[0] = job.toLinear[c.b];
            p[1] = job.toLinear[c.g];
            p[2] = job.toLinear[c.r];
        }
    return out;
}

// Every source row filtered to dstWidth columns.
std::vector<float> Horizontal(const Job &job, const std::vector<float> &linear) {
    std::vector<float> out(size_t(job.dstWidth) * job.srcHeight * 3);
    for (int32_t y = 0; y < job.srcHeight; ++y)
        for (int32_t x = 0; x < job.dstWidth; ++x) {
            const WeightEntry &e = EntryOf(*job.hWeights, x);
            const float *first = &linear[(size_t(y) * job.srcWidth + e.start / job.columnUnit) * 3];
            for (int ch = 0; ch < 3; ++ch)
                out[(size_t(y) * job.dstWidth + x) * 3 + ch] =
                    SumTaps(e.weights, first + ch, CountOf(e), 3, job.horizontalOrder);
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

Stats Resize(const Job &job, PIXEL_YC *dst, int32_t dstPitch) {
    const std::vector<float> rows = Horizontal(job, LinearSource(job));
    const ptrdiff_t rowStride = ptrdiff_t{job.dstWidth} * 3;
    Stats stats;
    for (int32_t y = 0; y < job.dstHeight; ++y) {
        const WeightEntry &e = EntryOf(*job.vWeights, y);
        const float *first = &rows[size_t(e.start / job.rowUnit) * rowStride];
        for (int32_t x = 0; x < job.dstWidth; ++x) {
            int16_t code[3];
            for (int ch = 0; ch < 3; ++ch) {
                const float sum = SumTaps(e.weights, first + x * 3 + ch, CountOf(e), rowStride,
                                          TapOrder::InOrder);
                stats.belowZero += sum < 0.0f;
                stats.aboveTop += sum > 65535.0f;
                code[ch] = CodeOfLinear(sum, job.fromLinear);
            }
            dst[ptrdiff_t{y} * dstPitch + x] = PixelOf(Codes{code[0], code[1], code[2]});
        }
    }
    return stats;
}

}  // namespace reference_model
