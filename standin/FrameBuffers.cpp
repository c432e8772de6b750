#include "standin/FrameBuffers.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/LargeBuffers.h"

namespace {

std::size_t FrameBytes(int stride, int maxHeight) {
    return std::size_t(stride) * maxHeight * sizeof(PIXEL_YC);
}

PIXEL_YC *NewFrame(int stride, int maxHeight) {
    // Not cleared: Load clears what it does not fill, and a caller that
    // fills the frame itself writes every pixel the filter reads.
    return static_cast<PIXEL_YC *>(platform::AllocateLarge(FrameBytes(stride, maxHeight)));
}

}  // namespace

int HostStride(int maxWidth) { return (maxWidth + 7) / 8 * 8; }

TFrameBuffers::TFrameBuffers(int maxWidth, int maxHeight)
    : FStride(HostStride(maxWidth)),
      FMaxHeight(maxHeight),
      FFirst(NewFrame(FStride, maxHeight)),
      FSecond(nullptr) {
    try {
        FSecond = NewFrame(FStride, maxHeight);
    } catch (...) {
        platform::FreeLarge(FFirst, FrameBytes(FStride, FMaxHeight));
        throw;
    }
}

TFrameBuffers::~TFrameBuffers() {
    platform::FreeLarge(FFirst, FrameBytes(FStride, FMaxHeight));
    platform::FreeLarge(FSecond, FrameBytes(FStride, FMaxHeight));
}

void TFrameBuffers::Load(const TYcImage &image) {
    std::memset(FFirst, 0, std::size_t(FStride) * FMaxHeight * sizeof(PIXEL_YC));
    for (int y = 0; y < image.Height; ++y)
        std::copy_n(&image.At(0, y), image.Width, FFirst + std::size_t(y) * FStride);
}

TYcImage TFrameBuffers::Read(const PIXEL_YC *frame, int width, int height) const {
    TYcImage image(width, height);
    for (int y = 0; y < height; ++y)
        std::copy_n(frame + std::size_t(y) * FStride, width, &image.At(0, y));
    return image;
}
