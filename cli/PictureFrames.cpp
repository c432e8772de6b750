// A picture's side of the frame pump: a stream of one frame, read whole
// when opened (its size is known only then for some files) and written
// whole at the end, all or nothing. A JPEG passing once is decoded a band
// at a time as the workers convert, instead.
#include <condition_variable>
#include <exception>
#include <mutex>
#include <utility>

#include "cli/FrameFormat.h"
#include "cli/JpegFile.h"
#include "cli/PictureRows.h"
#include "cli/TargetSize.h"

namespace {

// The same picture `frames` times, for the timing.
class TPictureSource final : public TFrameSource {
public:
    TPictureSource(TPicture picture, const std::string &name, int frames)
        : FPicture(std::move(picture)), FFrames(frames) {
        FFormat.Name = name;
        FFormat.Width = FPicture.Width;
        FFormat.Height = FPicture.Height;
        FFormat.Channels = FPicture.Channels;
        FFormat.Depth = FPicture.Depth;
        FFormat.IccProfile = FPicture.IccProfile;
    }
    const TFrameFormat &Format() const override { return FFormat; }
    int FrameCount() const override { return FFrames; }
    // Both frames are the one picture, which nothing changes.
    bool Read(int) override {
        if (FRead == FFrames) return false;
        ++FRead;
        return true;
    }
    void ToHost(int, PIXEL_YC *host, int stride, int first, int last) override {
        PictureToHostRows(FPicture, host, stride, first, last);
    }

private:
    const TPicture FPicture;
    const int FFrames;
    int FRead = 0;
    TFrameFormat FFormat;
};

// The decoder hands out bands in picture order while the workers convert
// the bands before, so decoding overlaps the conversion; and the picture is
// never held whole, which spares the system clearing its pages.
class TJpegBandSource final : public TFrameSource {
public:
    TJpegBandSource(const std::string &path, std::ostream &warnings)
        : FReader(path, kMaxFrameWidth, kMaxFrameHeight, warnings) {
        FFormat.Name = path;
        FFormat.Width = FReader.Width();
        FFormat.Height = FReader.Height();
        FFormat.Channels = FReader.Components();
        FFormat.IccProfile = FReader.IccProfile();
    }
    const TFrameFormat &Format() const override { return FFormat; }
    int FrameCount() const override { return 1; }
    bool Read(int) override { return !std::exchange(FRead, true); }
    // Bands are claimed in order, so each waits only for those before it.
    void ToHost(int, PIXEL_YC *host, int stride, int first, int last) override {
        thread_local TPicture band;
        if (band.Width != FFormat.Width || band.Channels != FFormat.Channels ||
            band.Height < last - first)
            band = TPicture(FFormat.Width, last - first, FFormat.Channels, 8);
        Decode(band, first, last);
        PictureToHostRows(band, host + std::size_t(first) * stride, stride, 0, last - first);
    }

private:
    void Decode(TPicture &band, int first, int last) {
        std::unique_lock<std::mutex> lock(FLock);
        FTurn.wait(lock, [&] { return FDecoded == first || FFault; });
        // A band behind a damaged one fails with the same fault.
        if (FFault) std::rethrow_exception(FFault);
        try {
            FReader.ReadRows(band.Bytes.data(), last - first);
            if (last == FFormat.Height) FReader.Finish();
        } catch (...) {
            FFault = std::current_exception();
            FTurn.notify_all();
            throw;
        }
        FDecoded = last;
        FTurn.notify_all();
    }

    TJpegReader FReader;
    TFrameFormat FFormat;
    bool FRead = false;
    std::mutex FLock;
    std::condition_variable FTurn;
    int FDecoded = 0;  // rows handed out
    std::exception_ptr FFault;
};

// Both frames are the one picture: Write sends nothing on, so the next
// frame may overwrite it, and Commit writes the last.
class TPictureSink final : public TFrameSink {
public:
    TPictureSink(const std::string &path, TFileKind kind, TPicture picture, int quality,
                 std::ostream &warnings)
        : FPath(path),
          FKind(kind),
          FPicture(std::move(picture)),
          FQuality(quality),
          FWarnings(warnings) {}
    int Bands() const override { return FPicture.Height; }
    void FromHost(int, const PIXEL_YC *host, int stride, int first, int last) override {
        HostToPictureRows(host, stride, FPicture, first, last);
    }
    void Open() override {}
    void Write(int) override {}
    void Commit() override { WritePicture(FPath, FKind, FPicture, FQuality, FWarnings); }

private:
    const std::string FPath;
    const TFileKind FKind;
    TPicture FPicture;
    const int FQuality;
    std::ostream &FWarnings;
};

}  // namespace

std::unique_ptr<TFrameSource> OpenPictureSource(const std::string &path, TFileKind kind,
                                                const TToolOptions &o, std::ostream &warnings) {
    if (kind == TFileKind::Jpeg && o.Frames == 1 && IsJpegAvailable()) {
        CheckPictureFile(path);
        return std::make_unique<TJpegBandSource>(path, warnings);
    }
    return std::make_unique<TPictureSource>(
        ReadPicture(path, kind, o.PatternWidth, o.PatternHeight, warnings), path, o.Frames);
}

std::unique_ptr<TFrameSink> MakePictureSink(const std::string &path, TFileKind kind,
                                            const TFrameFormat &format, int width, int height,
                                            const TToolOptions &o, std::ostream &warnings) {
    // PPM holds 8-bit RGB only, JPEG 8 bits.
    const bool keepsChannels = kind == TFileKind::Png || kind == TFileKind::Jpeg;
    TPicture picture(width, height, keepsChannels ? format.Channels : 3,
                     kind == TFileKind::Png ? format.Depth : 8);
    picture.IccProfile = format.IccProfile;
    return std::make_unique<TPictureSink>(path, kind, std::move(picture), o.Quality, warnings);
}
