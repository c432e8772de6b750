#include "cli/Y4mConversion.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Code value ↔ host scale for one kind of plane.
struct TScale {
    double Offset, Step;  // host = (code - Offset) * Step
};

TScale LumaScale(const TY4mFormat &f) {
    const double unit = double(1 << (f.Depth - 8));
    if (f.FullRange) return {0, 4096.0 / ((1 << f.Depth) - 1)};
    return {16 * unit, 4096.0 / (219 * unit)};
}

TScale ChromaScale(const TY4mFormat &f) {
    const double unit = double(1 << (f.Depth - 8));
    if (f.FullRange) return {128 * unit, 4096.0 / ((1 << f.Depth) - 1)};
    return {128 * unit, 4096.0 / (224 * unit)};
}

int16_t HostValue(double value) { return int16_t(std::clamp(std::lround(value), -32768L, 32767L)); }

uint16_t CodeValue(double host, const TScale &s, int depth) {
    return uint16_t(std::clamp(std::lround(host / s.Step + s.Offset), 0L, long((1 << depth) - 1)));
}

// Where sample i of line l lies in a plane: along rows, lines are rows;
// down columns, lines are columns and `count` is the plane's width. Walking
// the columns in place spares a transposed copy of the plane each way.
struct TLines {
    int count;
    bool down;
    std::size_t At(int line, int i, int length) const {
        return down ? std::size_t(i) * count + line : std::size_t(line) * length + i;
    }
    // f(line, i) for every sample of lines of `length`, in memory order.
    template <class F>
    void ForEach(int length, F f) const {
        for (int a = 0; a < (down ? length : count); ++a)
            for (int b = 0; b < (down ? count : length); ++b) down ? f(b, a) : f(a, b);
    }
};

// `count` lines of `m` chroma samples, sited at luma position 2i (2i + 0.5
// when centred), become lines of `n`.
std::vector<double> Upsample(const std::vector<double> &in, int m, int n, TLines lines, bool centred) {
    std::vector<double> out(std::size_t(lines.count) * n);
    lines.ForEach(n, [&](int line, int x) {
        const double at = (x - (centred ? 0.5 : 0.0)) / 2;
        const int left = int(std::floor(at));
        const double t = at - left;
        const auto sample = [&](int i) { return in[lines.At(line, std::clamp(i, 0, m - 1), m)]; };
        out[lines.At(line, x, n)] = sample(left) * (1 - t) + sample(left + 1) * t;
    });
    return out;
}

std::vector<double> Downsample(const std::vector<double> &in, int n, int m, TLines lines, bool centred) {
    std::vector<double> out(std::size_t(lines.count) * m);
    lines.ForEach(m, [&](int line, int i) {
        const auto sample = [&](int k) { return in[lines.At(line, std::clamp(k, 0, n - 1), n)]; };
        out[lines.At(line, i, m)] = centred ? (sample(2 * i) + sample(2 * i + 1)) / 2
                                            : (sample(2 * i - 1) + 2 * sample(2 * i) + sample(2 * i + 1)) / 4;
    });
    return out;
}

// A chroma plane on the host's scale at full size.
std::vector<double> FullChroma(const TY4mFormat &f, const std::vector<uint16_t> &plane) {
    const TScale s = ChromaScale(f);
    const int cw = f.ChromaWidth(), ch = f.ChromaHeight();
    std::vector<double> values(plane.size());
    for (std::size_t i = 0; i < plane.size(); ++i) values[i] = (plane[i] - s.Offset) * s.Step;
    if (cw != f.Width) values = Upsample(values, cw, f.Width, {ch, false}, f.CentredX);
    if (ch != f.Height) values = Upsample(values, ch, f.Height, {f.Width, true}, f.CentredY);
    return values;
}

std::vector<uint16_t> SubsampledChroma(const TY4mFormat &f, std::vector<double> values) {
    const int cw = f.ChromaWidth(), ch = f.ChromaHeight();
    if (cw != f.Width) values = Downsample(values, f.Width, cw, {f.Height, false}, f.CentredX);
    if (ch != f.Height) values = Downsample(values, f.Height, ch, {cw, true}, f.CentredY);
    const TScale s = ChromaScale(f);
    std::vector<uint16_t> plane(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) plane[i] = CodeValue(values[i], s, f.Depth);
    return plane;
}

}  // namespace

TYcImage ToYcImage(const TY4mFormat &f, const TY4mFrame &frame) {
    TYcImage image(f.Width, f.Height);
    const TScale luma = LumaScale(f);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        image.Pixels[i].y = HostValue((frame.Planes[0][i] - luma.Offset) * luma.Step);
    if (f.Chroma == TChroma::Mono) return image;
    const std::vector<double> cb = FullChroma(f, frame.Planes[1]), cr = FullChroma(f, frame.Planes[2]);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
        image.Pixels[i].cb = HostValue(cb[i]);
        image.Pixels[i].cr = HostValue(cr[i]);
    }
    return image;
}

TY4mFrame ToY4mFrame(const TY4mFormat &format, const TYcImage &image) {
    TY4mFormat f = format;
    f.Width = image.Width;
    f.Height = image.Height;
    TY4mFrame frame;
    const TScale luma = LumaScale(f);
    frame.Planes[0].resize(image.Pixels.size());
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        frame.Planes[0][i] = CodeValue(image.Pixels[i].y, luma, f.Depth);
    if (f.Chroma == TChroma::Mono) return frame;
    std::vector<double> cb(image.Pixels.size()), cr(image.Pixels.size());
    for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
        cb[i] = image.Pixels[i].cb;
        cr[i] = image.Pixels[i].cr;
    }
    frame.Planes[1] = SubsampledChroma(f, std::move(cb));
    frame.Planes[2] = SubsampledChroma(f, std::move(cr));
    return frame;
}
