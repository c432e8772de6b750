// A picture that passes once, taken a band at a time: each band is decoded
// or encoded in picture order while the workers convert the bands before
// or after it, so the codec's work overlaps the conversions, and the
// picture itself is never held whole.
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "cli/FrameFormat.h"
#include "cli/Picture.h"

// A JPEG or PPM file at `path`, its header read. Throws THostError.
std::unique_ptr<TFrameSource> OpenJpegBands(const std::string &path, std::ostream &warnings);
std::unique_ptr<TFrameSource> OpenPpmBands(const std::string &path);

// A PNG, JPEG or PPM file at `path` of `shape`'s size, channels, depth and
// profile (its samples unused), written to a temporary file as it is
// encoded and made final by Commit.
std::unique_ptr<TFrameSink> MakeBandSink(const std::string &path, TFileKind kind,
                                         const TPicture &shape, int quality,
                                         std::ostream &warnings);
