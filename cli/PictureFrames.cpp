// A picture's side of the frame pump: a stream of one frame, read whole
// when opened (its size is known only then for some files) and written
// whole at the end, all or nothing. A picture passing once goes a band at a
// time instead (PictureBands.h): a JPEG or PPM in, and every picture out.
#include <utility>

#include "cli/FrameFormat.h"
#include "cli/JpegFile.h"
#include "cli/PictureBands.h"
#include "cli/PictureRows.h"

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
    if (o.Frames == 1 &&
        (kind == TFileKind::Ppm || (kind == TFileKind::Jpeg && IsJpegAvailable()))) {
        CheckPictureFile(path);
        return kind == TFileKind::Ppm ? OpenPpmBands(path) : OpenJpegBands(path, warnings);
    }
    return std::make_unique<TPictureSource>(
        ReadPicture(path, kind, o.PatternWidth, o.PatternHeight, warnings), path, o.Frames);
}

std::unique_ptr<TFrameSink> MakePictureSink(const std::string &path, TFileKind kind,
                                            const TFrameFormat &format, int width, int height,
                                            const TToolOptions &o, std::ostream &warnings) {
    // PPM holds 8-bit RGB only, JPEG 8 bits.
    const bool keepsChannels = kind == TFileKind::Png || kind == TFileKind::Jpeg;
    TPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Channels = keepsChannels ? format.Channels : 3;
    picture.Depth = kind == TFileKind::Png ? format.Depth : 8;
    picture.IccProfile = format.IccProfile;
    if (o.Frames == 1) return MakeBandSink(path, kind, picture, o.Quality, warnings);
    // Each pass writes the one picture again; Commit writes it once.
    picture.Bytes.resize(picture.RowBytes() * std::size_t(height));
    return std::make_unique<TPictureSink>(path, kind, std::move(picture), o.Quality, warnings);
}
