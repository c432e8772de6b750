// YUV4MPEG2 streams, frame by frame: a header line "YUV4MPEG2 W.. H.. ...",
// then frames, each "FRAME" and a line end before its planes Y, Cb, Cr (Y
// alone for mono), samples of more than 8 bits as 16-bit little-endian.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class TChroma { C444, C422, C420, Mono };

struct TY4mFormat {
    int Width = 0, Height = 0;
    TChroma Chroma = TChroma::C420;
    int Depth = 8;           // bits per sample, 8..16
    bool CentredX = true;    // chroma sited between luma columns
    bool CentredY = true;    // chroma sited between luma lines
    bool FullRange = false;  // XCOLORRANGE=FULL; otherwise 16..235 / 16..240 at 8 bits
    std::string ChromaTag;   // "C420jpeg", …; empty when the header had none
    // Every tag as written, in order: W and H are rewritten from Width and
    // Height, the rest (frame rate, aspect, interlacing, X…) pass through.
    std::vector<std::string> Tags;

    int ChromaWidth() const;
    int ChromaHeight() const;
    int Planes() const { return Chroma == TChroma::Mono ? 1 : 3; }
    int SampleBytes() const { return Depth > 8 ? 2 : 1; }
    std::size_t PlaneSamples(int plane) const;
    std::size_t PlaneOffset(int plane) const;  // in bytes, from the frame's first
    std::size_t FrameBytes() const;
    // The header line, with a line end.
    std::string Header() const;
};

// One frame as the stream holds it after its FRAME line: planes Y, Cb, Cr
// one after another, rows packed, samples past 8 bits 16-bit little-endian.
// The buffer keeps its memory from frame to frame.
struct TY4mFrame {
    std::vector<uint8_t> Bytes;

    // One plane's samples, for checks that look at values.
    std::vector<uint16_t> Plane(const TY4mFormat &format, int plane) const;
    void SetPlane(const TY4mFormat &format, int plane, const std::vector<uint16_t> &samples);
};

// Reads from a stdio stream it does not own. Every fault throws THostError
// naming `name`.
class TY4mReader {
public:
    TY4mReader(std::FILE *file, const std::string &name);
    const TY4mFormat &Format() const { return FFormat; }
    // False at the clean end of the stream; a frame cut short throws.
    bool ReadFrame(TY4mFrame &frame);
    int FramesRead() const { return FFrames; }

private:
    std::string ReadLine(const char *what);
    [[noreturn]] void Fail(const std::string &fault) const;

    std::FILE *FFile;
    std::string FName;
    TY4mFormat FFormat;
    int FFrames = 0;
};

// A whole header line parsed; throws THostError naming `name`.
TY4mFormat ParseY4mHeader(const std::string &line, const std::string &name);
// The line that starts every frame.
extern const char *const kY4mFrameLine;
