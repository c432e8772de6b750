#include "cli/TestPattern.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct TRegion {
    int Left, Top, Width, Height;
};

void Put(TPicture &image, int x, int y, double r, double g, double b) {
    uint8_t *p = image.At(x, y);
    p[0] = uint8_t(std::lround(std::clamp(r, 0.0, 255.0)));
    p[1] = uint8_t(std::lround(std::clamp(g, 0.0, 255.0)));
    p[2] = uint8_t(std::lround(std::clamp(b, 0.0, 255.0)));
}

void ZonePlate(TPicture &image, const TRegion &area) {
    const double cx = area.Width / 2.0, cy = area.Height / 2.0;
    // Local frequency k r / pi cycles per pixel; 1/2 at the corner radius.
    const double k = std::numbers::pi / (2.0 * std::max(std::hypot(cx, cy), 1.0));
    for (int y = 0; y < area.Height; ++y)
        for (int x = 0; x < area.Width; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double v = 127.5 + 127.5 * std::cos(k * (dx * dx + dy * dy));
            Put(image, area.Left + x, area.Top + y, v, v, v);
        }
}

// Fully saturated hue at `u` in 0..1 (red, yellow, green, cyan, blue, magenta).
void Hue(double u, double rgb[3]) {
    const double h = u * 6.0;
    rgb[0] = std::clamp(std::fabs(h - 3.0) - 1.0, 0.0, 1.0);
    rgb[1] = std::clamp(2.0 - std::fabs(h - 2.0), 0.0, 1.0);
    rgb[2] = std::clamp(2.0 - std::fabs(h - 4.0), 0.0, 1.0);
}

void Gradients(TPicture &image, const TRegion &area) {
    for (int y = 0; y < area.Height; ++y) {
        const double level = 255.0 * (1.0 - (y + 0.5) / area.Height);
        for (int x = 0; x < area.Width; ++x) {
            double c[3];
            Hue((x + 0.5) / area.Width, c);
            Put(image, area.Left + x, area.Top + y, c[0] * level, c[1] * level, c[2] * level);
        }
    }
}

void ColourBars(TPicture &image, const TRegion &area) {
    // White, yellow, cyan, green, magenta, red, blue, black.
    static const int bars[8] = {7, 6, 3, 2, 5, 4, 1, 0};  // bit 2 R, bit 1 G, bit 0 B
    for (int x = 0; x < area.Width; ++x) {
        const int bits = bars[x * 8 / area.Width];
        for (int y = 0; y < area.Height; ++y)
            Put(image, area.Left + x, area.Top + y, bits & 4 ? 255 : 0, bits & 2 ? 255 : 0,
                bits & 1 ? 255 : 0);
    }
}

void Gratings(TPicture &image, const TRegion &area) {
    for (int x = 0; x < area.Width; ++x) {
        const int half = 1 + x * 4 / area.Width;  // half a period: 1..4 pixels
        for (int y = 0; y < area.Height; ++y) {
            const int across = y < area.Height / 2 ? x : y;
            const double v = (across / half) % 2 ? 255 : 0;
            Put(image, area.Left + x, area.Top + y, v, v, v);
        }
    }
}

}  // namespace

TPicture MakeTestPattern(int width, int height) {
    TPicture image(width, height, 3, 8);
    const int splitX = width / 2, splitY = height * 3 / 4;
    ZonePlate(image, {0, 0, splitX, splitY});
    Gradients(image, {splitX, 0, width - splitX, splitY});
    ColourBars(image, {0, splitY, splitX, height - splitY});
    Gratings(image, {splitX, splitY, width - splitX, height - splitY});
    return image;
}
