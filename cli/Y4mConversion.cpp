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

// Along lines: `count` lines of `m` chroma samples, sited at luma position
// 2i (2i + 0.5 when centred), become lines of `n`.
std::vector<double> Upsample(const std::vector<double> &in, int m, int n, int count, bool centred) {
    std::vector<double> out(std::size_t(count) * n);
    for (int line = 0; line < count; ++line)
        for (int x = 0; x < n; ++x) {
            const double at = (x - (centred ? 0.5 : 0.0)) / 2;
            const int left = int(std::floor(at));
            const double t = at - left;
            const auto sample = [&](int i) { return in[std::size_t(line) * m + std::clamp(i, 0, m - 1)]; };
            out[std::size_t(line) * n + x] = sample(left) * (1 - t) + sample(left + 1) * t;
        }
    return out;
}

std::vector<double> Downsample(const std::vector<double> &in, int n, int m, int count, bool centred) {
    std::vector<double> out(std::size_t(count) * m);
    for (int line = 0; line < count; ++line) {
        const auto sample = [&](int i) { return in[std::size_t(line) * n + std::clamp(i, 0, n - 1)]; };
        for (int i = 0; i < m; ++i)
            out[std::size_t(line) * m + i] = centred ? (sample(2 * i) + sample(2 * i + 1)) / 2
                                                     : (sample(2 * i - 1) + 2 * sample(2 * i) + sample(2 * i + 1)) / 4;
    }
    return out;
}

std::vector<double> Transposed(const std::vector<double> &in, int width, int height) {
    std::vector<double> out(in.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out[std::size_t(x) * height + y] = in[std::size_t(y) * width + x];
    return out;
}

// A chroma plane on the host's scale at full size.
std::vector<double> FullChroma(const TY4mFormat &f, const std::vector<uint16_t> &plane) {
    const TScale s = ChromaScale(f);
    const int cw = f.ChromaWidth(), ch = f.ChromaHeight();
    std::vector<double> values(plane.size());
    for (std::size_t i = 0; i < plane.size(); ++i) values[i] = (plane[i] - s.Offset) * s.Step;
    if (cw != f.Width) values = Upsample(values, cw, f.Width, ch, f.CentredX);
    if (ch != f.Height)
        values = Transposed(Upsample(Transposed(values, f.Width, ch), ch, f.Height, f.Width, f.CentredY),
                            f.Height, f.Width);
    return values;
}

std::vector<uint16_t> SubsampledChroma(const TY4mFormat &f, std::vector<double> values) {
    const int cw = f.ChromaWidth(), ch = f.ChromaHeight();
    if (cw != f.Width) values = Downsample(values, f.Width, cw, f.Height, f.CentredX);
    if (ch != f.Height)
        values = Transposed(Downsample(Transposed(values, cw, f.Height), f.Height, ch, cw, f.CentredY), ch, cw);
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
