// The host's two frames: the current frame and a work frame of the same
// capacity, each `Stride` × `MaxHeight` pixels, 16-byte aligned.
#pragma once
#include "standin/YcImage.h"

class TFrameBuffers {
public:
    // `maxWidth` is rounded up to a multiple of 8 to give the line stride.
    TFrameBuffers(int maxWidth, int maxHeight);
    ~TFrameBuffers();
    TFrameBuffers(const TFrameBuffers &) = delete;
    TFrameBuffers &operator=(const TFrameBuffers &) = delete;

    int Stride() const { return FStride; }  // pixels per line
    int MaxHeight() const { return FMaxHeight; }
    PIXEL_YC *First() const { return FFirst; }
    PIXEL_YC *Second() const { return FSecond; }
    bool Owns(const PIXEL_YC *frame) const { return frame == FFirst || frame == FSecond; }

    // Puts `image` into the first frame (top left, the rest zero).
    void Load(const TYcImage &image);
    // Copies the top-left `width` × `height` pixels of `frame` out.
    TYcImage Read(const PIXEL_YC *frame, int width, int height) const;

private:
    const int FStride;
    const int FMaxHeight;
    PIXEL_YC *FFirst;
    PIXEL_YC *FSecond;
};

// The line stride the host gives frames of `maxWidth` pixels.
int HostStride(int maxWidth);
