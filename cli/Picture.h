// A picture as PNG, JPEG and PPM files hold it: grey or RGB, 8 or 16 bits
// per sample, rows packed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/LargeBuffers.h"
#include "standin/YcImage.h"

// An allocator whose resize leaves new bytes as they are: a picture's rows
// are all written before they are read, and clearing them first would cost
// a pass over memory. Untouched pages also cost no memory, so a short file
// claiming a huge picture takes no more than the rows it holds. Its memory
// is platform::AllocateLarge's.
template <class T>
struct TUncleared : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = TUncleared<U>;
    };
    TUncleared() = default;
    template <class U>
    TUncleared(const TUncleared<U> &) {}
    T *allocate(std::size_t n) { return static_cast<T *>(platform::AllocateLarge(n * sizeof(T))); }
    void deallocate(T *buffer, std::size_t n) noexcept {
        platform::FreeLarge(buffer, n * sizeof(T));
    }
    template <class U, class... A>
    void construct(U *at, A &&...args) {
        if constexpr (sizeof...(A) == 0)
            ::new (static_cast<void *>(at)) U;
        else
            ::new (static_cast<void *>(at)) U(std::forward<A>(args)...);
    }
};

using TSampleBytes = std::vector<uint8_t, TUncleared<uint8_t>>;

struct TPicture {
    int Width = 0, Height = 0;
    int Channels = 3;        // 1 grey, 3 RGB
    int Depth = 8;           // bits per sample: 8 or 16
    TSampleBytes Bytes;      // rows packed; 16-bit samples in the machine's order
    std::string IccProfile;  // the colour profile's bytes; empty without one

    TPicture() = default;
    // The samples are left unset.
    TPicture(int width, int height, int channels, int depth)
        : Width(width),
          Height(height),
          Channels(channels),
          Depth(depth),
          Bytes(RowBytes() * std::size_t(height)) {}
    int MaxValue() const { return (1 << Depth) - 1; }
    std::size_t RowBytes() const { return std::size_t(Width) * Channels * (Depth / 8); }
    uint8_t *Row(int y) { return Bytes.data() + std::size_t(y) * RowBytes(); }
    const uint8_t *Row(int y) const { return Bytes.data() + std::size_t(y) * RowBytes(); }
    // An 8-bit picture's pixel.
    uint8_t *At(int x, int y) { return Row(y) + std::size_t(x) * Channels; }
    const uint8_t *At(int x, int y) const { return Row(y) + std::size_t(x) * Channels; }
    // Every sample in order, whatever the depth.
    std::vector<uint16_t> Samples() const;
};

// Through the full-range BT.601 conversion of YcConversion.h, deeper
// samples scaled to its 0..255 scale.
TYcImage ToYcImage(const TPicture &picture);
