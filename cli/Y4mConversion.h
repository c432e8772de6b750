// Y4M frames to and from the host's PIXEL_YC frames, a band of rows at a
// time, so that the host's worker threads can share a frame.
//
// Range: limited range (Y 16..235, Cb and Cr 16..240 at 8 bits, times
// 2^(depth-8) deeper) or, with XCOLORRANGE=FULL, 0..2^depth-1, onto y 0..4096
// and cb, cr -2048..2048; values past the nominal range keep their distance.
//
// Chroma: brought to 4:4:4 by linear interpolation between the two nearest
// chroma samples at the stream's siting, edges repeated; brought back by a
// [1 1]/2 average where chroma sits between luma samples and a [1 2 1]/4
// average where it sits on one. A flat colour stays flat both ways.
//
// Arithmetic: the interpolation and the averages are sums of codes with
// whole weights, exact in integers; only the final scaling rounds, once
// (halves away from zero into the host's scale, halves up into codes).
#pragma once
#include "cli/Y4mStream.h"
#include "standin/YcImage.h"

// Rows [first, last) of a host frame of `stride` pixels a line, from a whole
// stream frame of `format`.
void ToHostRows(const TY4mFormat &format, const uint8_t *frame, PIXEL_YC *host, int stride,
                int first, int last);

// Bands of a stream frame: a band is one chroma row with the luma rows that
// go with it (one luma row for mono).
int StreamBands(const TY4mFormat &format);
// Bands [first, last) of a whole stream frame of `format` (at its own size),
// from a host frame of `stride` pixels a line.
void ToStreamRows(const TY4mFormat &format, const PIXEL_YC *host, int stride, uint8_t *frame,
                  int first, int last);

// Whole frames on the caller's thread.
TYcImage ToYcImage(const TY4mFormat &format, const TY4mFrame &frame);
// The frame in `format`'s chroma layout, depth and range, at the image's size.
TY4mFrame ToY4mFrame(const TY4mFormat &format, const TYcImage &image);
