#include "standin/FrameBuffers.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::align_val_t kFrameAlignment{16};

PIXEL_YC *NewFrame(int stride, int maxHeight) {
    const std::size_t bytes = std::size_t(stride) * maxHeight * sizeof(PIXEL_YC);
    // Not cleared: Load clears what it does not fill, and a caller that
    // fills the frame itself writes every pixel the filter reads.
    return static_cast<PIXEL_YC *>(::operator new(bytes, kFrameAlignment));
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
        ::operator delete(FFirst, kFrameAlignment);
        throw;
    }
}

TFrameBuffers::~TFrameBuffers() {
    ::operator delete(FFirst, kFrameAlignment);
    ::operator delete(FSecond, kFrameAlignment);
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
