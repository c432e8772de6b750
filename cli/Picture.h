// A picture as PNG and PPM files hold it: grey or RGB, 8 or 16 bits per
// sample, rows packed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "standin/YcImage.h"

// An 8-bit RGB picture as PPM files hold it: R, G, B bytes, rows packed.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Bytes;  // Width × Height × 3

    TRgbImage() = default;
    TRgbImage(int width, int height)
        : Width(width), Height(height), Bytes(std::size_t(width) * height * 3, 0) {}
    uint8_t *At(int x, int y) { return &Bytes[(std::size_t(y) * Width + x) * 3]; }
    const uint8_t *At(int x, int y) const { return &Bytes[(std::size_t(y) * Width + x) * 3]; }
};

struct TPicture {
    int Width = 0, Height = 0;
    int Channels = 3;               // 1 grey, 3 RGB
    int Depth = 8;                  // bits per sample: 8 or 16
    std::vector<uint16_t> Samples;  // Width × Height × Channels
    std::string IccProfile;         // the colour profile's bytes; empty without one

    TPicture() = default;
    TPicture(int width, int height, int channels, int depth)
        : Width(width),
          Height(height),
          Channels(channels),
          Depth(depth),
          Samples(std::size_t(width) * height * channels, 0) {}
    int MaxValue() const { return (1 << Depth) - 1; }
};

TPicture FromRgbImage(const TRgbImage &image);
// 8-bit RGB: grey repeated, 16-bit samples rounded.
TRgbImage ToRgbImage(const TPicture &picture);

// Through the full-range BT.601 conversion of YcConversion.h, deeper
// samples scaled to its 0..255 scale.
TYcImage ToYcImage(const TPicture &picture);
// Into a picture of the given channels and depth, rounded and clamped.
TPicture ToPicture(const TYcImage &image, int channels, int depth);
