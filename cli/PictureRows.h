// A picture's rows to and from the host's pixels, a band at a time on the
// host's workers: the conversions of SamplesToYc and YcToSamples
// (YcConversion.h), the same operations in the same order, giving the same
// values, on two pixels at a time where the processor has SSE2.
#pragma once
#include "cli/Picture.h"

// Rows [first, last) of `picture` into a host frame of `stride` pixels a line.
void PictureToHostRows(const TPicture &picture, PIXEL_YC *host, int stride, int first, int last);
// Rows [first, last) of `picture` from a host frame of `stride` pixels a
// line, rounded and clamped to the picture's depth.
void HostToPictureRows(const PIXEL_YC *host, int stride, TPicture &picture, int first, int last);
