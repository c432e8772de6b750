// Where the frames come from and go to, whatever the file: a YUV4MPEG2
// stream, or a picture (PNG, JPEG, PPM, the built-in test image) as a
// stream of one frame. The frame pump drives both sides alike.
//
// Each side has two frames, 0 and 1, so that one is read or written on a
// thread of its own while the workers convert the other (a picture's two
// are the one picture, which nothing reads or writes meanwhile); the
// conversions run a band of rows at a time on the host's workers.
#pragma once
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/PictureFiles.h"
#include "cli/Y4mStream.h"
#include "standin/YcImage.h"

// What a source holds, for the sink to follow.
struct TFrameFormat {
    std::string Name;  // for messages: the file, or "standard input"
    int Width = 0, Height = 0;
    // A picture's samples: 1 grey or 3 RGB, 8 or 16 bits, and its profile.
    int Channels = 3, Depth = 8;
    std::string IccProfile;
    std::optional<TY4mFormat> Stream;  // a video stream's layout and tags
};

class TFrameSource {
public:
    virtual ~TFrameSource() = default;
    virtual const TFrameFormat &Format() const = 0;
    // Frames to come, where known (a regular file); 0 where not (a pipe).
    virtual int FrameCount() const = 0;
    // The next frame into frame `slot`; false at the end. Throws THostError
    // for a damaged frame.
    virtual bool Read(int slot) = 0;
    // Rows [first, last) of frame `slot` into a host frame of `stride`
    // pixels a line; called from several workers at once.
    virtual void ToHost(int slot, PIXEL_YC *host, int stride, int first, int last) = 0;
};

class TFrameSink {
public:
    virtual ~TFrameSink() = default;
    // What FromHost cuts a frame into.
    virtual int Bands() const = 0;
    // Bands [first, last) of frame `slot` from a host frame of `stride`
    // pixels a line; called from several workers at once.
    virtual void FromHost(int slot, const PIXEL_YC *host, int stride, int first, int last) = 0;
    // Once the first frame is read and the filter loaded: nothing is made
    // before, so that a fault up to then leaves no output behind.
    virtual void Open() = 0;
    // Frame `slot` onwards. A picture keeps its last frame for Commit.
    virtual void Write(int slot) = 0;
    // Makes the output final; throws THostError when it cannot.
    virtual void Commit() = 0;
};

// The input `path` of `kind` opened and its header read; a picture is read
// whole and passes `options.Frames` times. Throws THostError.
std::unique_ptr<TFrameSource> OpenSource(const std::string &path, TFileKind kind,
                                         const TToolOptions &options, std::ostream &warnings);

// The output `path` of `kind` for frames of `width` × `height` from a source
// of `format`: a stream keeps the input's layout and tags; PNG keeps a
// picture's grey or colour and depth, JPEG its grey or colour, and both its
// colour profile; PPM and the built-in image's output are 8-bit RGB.
std::unique_ptr<TFrameSink> MakeSink(const std::string &path, TFileKind kind,
                                     const TFrameFormat &format, int width, int height,
                                     const TToolOptions &options, std::ostream &warnings);

// Each kind's own, for the two above.
std::unique_ptr<TFrameSource> OpenStreamSource(const std::string &path);
std::unique_ptr<TFrameSink> MakeStreamSink(const std::string &path, const TY4mFormat &format,
                                           int width, int height);
std::unique_ptr<TFrameSource> OpenPictureSource(const std::string &path, TFileKind kind,
                                                const TToolOptions &options,
                                                std::ostream &warnings);
std::unique_ptr<TFrameSink> MakePictureSink(const std::string &path, TFileKind kind,
                                            const TFrameFormat &format, int width, int height,
                                            const TToolOptions &options, std::ostream &warnings);
