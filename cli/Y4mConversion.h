// Y4M frames to and from the host's PIXEL_YC frames.
//
// Range: limited range (Y 16..235, Cb and Cr 16..240 at 8 bits, times
// 2^(depth-8) deeper) or, with XCOLORRANGE=FULL, 0..2^depth-1, onto y 0..4096
// and cb, cr -2048..2048; values past the nominal range keep their distance.
//
// Chroma: brought to 4:4:4 by linear interpolation between the two nearest
// chroma samples at the stream's siting, edges repeated; brought back by a
// [1 1]/2 average where chroma sits between luma samples and a [1 2 1]/4
// average where it sits on one. A flat colour stays flat both ways.
#pragma once
#include "cli/Y4mStream.h"
#include "cli/YcImage.h"

TYcImage ToYcImage(const TY4mFormat &format, const TY4mFrame &frame);
// The frame in `format`'s chroma layout, depth and range, at the image's size.
TY4mFrame ToY4mFrame(const TY4mFormat &format, const TYcImage &image);
