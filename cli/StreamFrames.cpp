// A YUV4MPEG2 stream's side of the frame pump: frame by frame, so that
// memory does not grow with the length of the video.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/FrameFormat.h"
#include "cli/OutputFile.h"
#include "cli/Progress.h"
#include "cli/Y4mConversion.h"

namespace {

struct TInputFile {
    std::FILE *File = nullptr;
    bool Owned = false;
    explicit TInputFile(const std::string &input) {
        if (input == kStreamName) {
            File = stdin;
            return;
        }
        File = std::fopen(input.c_str(), "rb");
        if (!File) throw THostError(input + ": " + PathFault(errno));
        Owned = true;
    }
    ~TInputFile() {
        if (Owned) std::fclose(File);
    }
    TInputFile(const TInputFile &) = delete;
    TInputFile &operator=(const TInputFile &) = delete;
};

// The frames a regular file holds, from where the reader stands after the
// header; 0 for a pipe.
int FramesInFile(std::FILE *file, const TY4mFormat &format) {
    struct stat info;
    const long header = std::ftell(file);
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || header < 0) return 0;
    return StreamFrameCount(info.st_size, header, int64_t(format.FrameBytes()));
}

class TStreamSource final : public TFrameSource {
public:
    explicit TStreamSource(const std::string &path)
        : FIn(path), FReader(FIn.File, path == kStreamName ? "standard input" : path) {
        const TY4mFormat &f = FReader.Format();
        FFormat.Name = path == kStreamName ? "standard input" : path;
        FFormat.Width = f.Width;
        FFormat.Height = f.Height;
        FFormat.Stream = f;
        FTotal = FramesInFile(FIn.File, f);
    }
    const TFrameFormat &Format() const override { return FFormat; }
    int FrameCount() const override { return FTotal; }
    bool Read(int slot) override { return FReader.ReadFrame(FFrames[slot]); }
    void ToHost(int slot, PIXEL_YC *host, int stride, int first, int last) override {
        ToHostRows(FReader.Format(), FFrames[slot].Bytes.data(), host, stride, first, last);
    }

private:
    TInputFile FIn;
    TY4mReader FReader;
    TFrameFormat FFormat;
    int FTotal = 0;
    TY4mFrame FFrames[2];
};

class TStreamSink final : public TFrameSink {
public:
    TStreamSink(const std::string &path, const TY4mFormat &format, int width, int height)
        : FPath(path), FFormat(format) {
        FFormat.Width = width;
        FFormat.Height = height;
    }
    int Bands() const override { return StreamBands(FFormat); }
    void FromHost(int slot, const PIXEL_YC *host, int stride, int first, int last) override {
        ToStreamRows(FFormat, host, stride, FEncoded[slot].data() + kLine, first, last);
    }
    void Open() override {
        for (std::vector<uint8_t> &bytes : FEncoded) {
            bytes.resize(kLine + FFormat.FrameBytes());
            std::memcpy(bytes.data(), kY4mFrameLine, kLine);
        }
        FOut = std::make_unique<TOutputFile>(FPath);
        FOut->Write(FFormat.Header());
    }
    void Write(int slot) override {
        FOut->Write(FEncoded[slot].data(), FEncoded[slot].size());
        FOut->Flush();  // a reader downstream gets each frame at once
    }
    void Commit() override { FOut->Commit(); }

private:
    static inline const std::size_t kLine = std::strlen(kY4mFrameLine);
    const std::string FPath;
    TY4mFormat FFormat;
    std::vector<uint8_t> FEncoded[2];
    std::unique_ptr<TOutputFile> FOut;
};

}  // namespace

std::unique_ptr<TFrameSource> OpenStreamSource(const std::string &path) {
    return std::make_unique<TStreamSource>(path);
}

std::unique_ptr<TFrameSink> MakeStreamSink(const std::string &path, const TY4mFormat &format,
                                           int width, int height) {
    return std::make_unique<TStreamSink>(path, format, width, height);
}
