// Host frames for kernel tests: guard zones, a chosen misalignment, frames
// that end at an inaccessible page, seeded random pixels and a comparison
// that names the first differing pixel.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "abi/HostAbi.h"

namespace testing_support {

// maxW × maxH pixels starting `offset` bytes past a 16-byte boundary, between
// two guard zones.
class TTestFrame {
public:
    TTestFrame(int32_t maxW, int32_t maxH, int32_t offset = 0);
    PIXEL_YC *Pixels() { return FPixels; }
    const PIXEL_YC *Pixels() const { return FPixels; }
    int32_t Pitch() const { return FMaxW; }  // pixels
    // Every byte of the frame and both guards to the pattern.
    void FillPattern();
    // The guards, the rest of each line beyond w and the lines below h still
    // hold the pattern.
    testing::AssertionResult UntouchedOutside(int32_t w, int32_t h) const;

    static constexpr int32_t GuardBytes = 4096;

private:
    int32_t FMaxW, FMaxH;
    std::vector<uint8_t> FBlock;
    PIXEL_YC *FPixels;
};

// `bytes` of readable, writable memory whose end touches a page that may not
// be accessed, so any read past the end faults.
class TPageEndBlock {
public:
    explicit TPageEndBlock(size_t bytes);
    ~TPageEndBlock();
    TPageEndBlock(const TPageEndBlock &) = delete;
    TPageEndBlock &operator=(const TPageEndBlock &) = delete;
    void *Data() const { return FData; }

private:
    void *FMapping;
    size_t FMappingBytes;
    void *FData;
};

// Seeded pixels over the w × h image: mostly nominal values, some with y
// outside 0..4096 and cb, cr outside −8192..8191 (where 4·x wraps), some
// anywhere in the int16 range.
void FillRandomPixels(PIXEL_YC *frame, int32_t pitch, int32_t w, int32_t h, uint32_t seed);

// Identical w × h images; otherwise names the first differing pixel.
testing::AssertionResult SameImage(const PIXEL_YC *expected, int32_t expectedPitch,
                                   const PIXEL_YC *actual, int32_t actualPitch, int32_t w,
                                   int32_t h);

}  // namespace testing_support
