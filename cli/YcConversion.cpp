#include "cli/YcConversion.h"

#include <algorithm>
#include <cmath>

namespace {

int16_t Code(double value, int low, int high) {
    return int16_t(std::clamp(RoundHalfAway(value * kCodesPerByte), long(low), long(high)));
}

uint8_t Byte(double value) { return uint8_t(std::clamp(RoundHalfAway(value), 0L, 255L)); }

}  // namespace

PIXEL_YC RgbToYc(double r, double g, double b) {
    const double y = kKr * r + kKg * g + kKb * b;
    return {Code(y, 0, 4096), Code((b - y) / kCbScale, -2048, 2048),
            Code((r - y) / kCrScale, -2048, 2048)};
}

PIXEL_YC RgbToYc(uint8_t r, uint8_t g, uint8_t b) {
    return RgbToYc(double(r), double(g), double(b));
}

void YcToRgb(const PIXEL_YC &pixel, double rgb[3]) {
    const double y = pixel.y / kCodesPerByte;
    rgb[0] = y + kCrScale * (pixel.cr / kCodesPerByte);
    rgb[2] = y + kCbScale * (pixel.cb / kCodesPerByte);
    rgb[1] = (y - kKr * rgb[0] - kKb * rgb[2]) / kKg;
}

PIXEL_YC GreyToYc(double grey) { return {Code(grey, 0, 4096), 0, 0}; }

double YcToGrey(const PIXEL_YC &pixel) { return pixel.y / kCodesPerByte; }

void YcToRgb(const PIXEL_YC &pixel, uint8_t rgb[3]) {
    double exact[3];
    YcToRgb(pixel, exact);
    for (int i = 0; i < 3; ++i) rgb[i] = Byte(exact[i]);
}

void SamplesToYc(const uint16_t *samples, int channels, double scale, std::size_t count,
                 PIXEL_YC *out) {
    if (channels == 1) {
        for (std::size_t i = 0; i < count; ++i) out[i] = GreyToYc(samples[i] * scale);
        return;
    }
    for (std::size_t i = 0; i < count; ++i, samples += 3)
        out[i] = RgbToYc(samples[0] * scale, samples[1] * scale, samples[2] * scale);
}

void YcToSamples(const PIXEL_YC *in, std::size_t count, int channels, double scale, int max,
                 uint16_t *out) {
    const auto sample = [&](double value) {
        return uint16_t(std::clamp(RoundHalfAway(value * scale), 0L, long(max)));
    };
    if (channels == 1) {
        for (std::size_t i = 0; i < count; ++i) out[i] = sample(YcToGrey(in[i]));
        return;
    }
    for (std::size_t i = 0; i < count; ++i, out += 3) {
        double rgb[3];
        YcToRgb(in[i], rgb);
        for (int c = 0; c < 3; ++c) out[c] = sample(rgb[c]);
    }
}
