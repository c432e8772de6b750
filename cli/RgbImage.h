// An 8-bit RGB picture as PPM files hold it: R, G, B bytes, rows packed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

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
