// A frame in the host's pixel format, lines packed without padding.
#pragma once
#include <cstddef>
#include <vector>

#include "abi/HostAbi.h"

struct TYcImage {
    int Width = 0;
    int Height = 0;
    std::vector<PIXEL_YC> Pixels;  // Width × Height, row by row

    TYcImage() = default;
    TYcImage(int width, int height)
        : Width(width), Height(height), Pixels(std::size_t(width) * height, PIXEL_YC{0, 0, 0}) {}
    PIXEL_YC &At(int x, int y) { return Pixels[std::size_t(y) * Width + x]; }
    const PIXEL_YC &At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};
