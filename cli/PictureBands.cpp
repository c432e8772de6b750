#include "cli/PictureBands.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>

#include "cli/JpegFile.h"
#include "cli/OutputFile.h"
#include "cli/PictureRows.h"
#include "cli/PngFile.h"
#include "cli/PpmFile.h"
#include "cli/TargetSize.h"
#include "standin/HostError.h"

namespace {

// The workers claim bands in picture order but may arrive out of turn; each
// waits only for the bands before its own. A fault in one band ends those
// still waiting with the same fault.
class TBandTurns {
public:
    template <class TWork>
    void InTurn(int first, int last, TWork work) {
        std::unique_lock<std::mutex> lock(FLock);
        FTurn.wait(lock, [&] { return FDone == first || FFault; });
        if (FFault) std::rethrow_exception(FFault);
        try {
            work();
        } catch (...) {
            FFault = std::current_exception();
            FTurn.notify_all();
            throw;
        }
        FDone = last;
        FTurn.notify_all();
    }

private:
    std::mutex FLock;
    std::condition_variable FTurn;
    int FDone = 0;  // rows done
    std::exception_ptr FFault;
};

// A worker's rows of a band, kept for its next band.
TPicture &BandOf(int width, int rows, int channels, int depth) {
    thread_local TPicture band;
    if (band.Width != width || band.Channels != channels || band.Depth != depth ||
        band.Height < rows)
        band = TPicture(width, rows, channels, depth);
    return band;
}

// A JPEG's or PPM's rows as its reader hands them out.
template <class TReader>
class TReaderBands final : public TFrameSource {
public:
    template <class... TArgs>
    explicit TReaderBands(const std::string &path, TArgs &&...args)
        : FReader(path, std::forward<TArgs>(args)...) {
        FFormat.Name = path;
        FFormat.Width = FReader.Width();
        FFormat.Height = FReader.Height();
        if constexpr (std::is_same_v<TReader, TJpegReader>) {
            FFormat.Channels = FReader.Components();
            FFormat.IccProfile = FReader.IccProfile();
        }
    }
    const TFrameFormat &Format() const override { return FFormat; }
    int FrameCount() const override { return 1; }
    bool Read(int) override { return !std::exchange(FRead, true); }
    void ToHost(int, PIXEL_YC *host, int stride, int first, int last) override {
        TPicture &band = BandOf(FFormat.Width, last - first, FFormat.Channels, 8);
        FTurns.InTurn(first, last, [&] {
            FReader.ReadRows(band.Bytes.data(), last - first);
            if constexpr (std::is_same_v<TReader, TJpegReader>)
                if (last == FFormat.Height) FReader.Finish();
        });
        PictureToHostRows(band, host + std::size_t(first) * stride, stride, 0, last - first);
    }

private:
    TReader FReader;
    TFrameFormat FFormat;  // 8-bit RGB unless the reader says otherwise
    bool FRead = false;
    TBandTurns FTurns;
};

// The encoders alike: rows in, the file's bytes out through a sink.
using TByteSink = std::function<void(const uint8_t *, std::size_t)>;

struct TRowEncoder {
    virtual ~TRowEncoder() = default;
    virtual void WriteRows(const uint8_t *rows, int count) = 0;
    virtual void Finish() = 0;
    virtual std::string DroppedProfile() const = 0;  // why a given profile was left out
};

template <class TWriter>
struct TEncoderOf final : TRowEncoder {
    template <class... TArgs>
    explicit TEncoderOf(TArgs &&...args) : Writer(std::forward<TArgs>(args)...) {}
    void WriteRows(const uint8_t *rows, int count) override { Writer.WriteRows(rows, count); }
    void Finish() override { Writer.Finish(); }
    // Only libpng refuses a profile it finds faulty.
    std::string DroppedProfile() const override {
        if constexpr (std::is_same_v<TWriter, TPngWriter>) return Writer.DroppedProfile();
        return {};
    }
    TWriter Writer;
};

// PPM's samples are the rows as they are.
class TPpmWriter {
public:
    TPpmWriter(const TPicture &shape, TByteSink sink)
        : FSink(std::move(sink)), FRowBytes(shape.RowBytes()) {
        const std::string header = PpmHeader(shape.Width, shape.Height);
        FSink(reinterpret_cast<const uint8_t *>(header.data()), header.size());
    }
    void WriteRows(const uint8_t *rows, int count) { FSink(rows, FRowBytes * count); }
    void Finish() {}

private:
    TByteSink FSink;
    std::size_t FRowBytes;
};

std::unique_ptr<TRowEncoder> MakeEncoder(TFileKind kind, const TPicture &shape, int quality,
                                         const TByteSink &sink) {
    switch (kind) {
    case TFileKind::Ppm: return std::make_unique<TEncoderOf<TPpmWriter>>(shape, sink);
    case TFileKind::Png:
        return std::make_unique<TEncoderOf<TPngWriter>>(shape.Width, shape.Height, shape.Channels,
                                                        shape.Depth, shape.IccProfile, sink);
    default:
        return std::make_unique<TEncoderOf<TJpegWriter>>(shape.Width, shape.Height, shape.Channels,
                                                         quality, shape.IccProfile, sink);
    }
}

class TBandSink final : public TFrameSink {
public:
    TBandSink(const std::string &path, TFileKind kind, const TPicture &shape, int quality,
              std::ostream &warnings)
        : FPath(path), FKind(kind), FShape(shape), FQuality(quality), FWarnings(warnings) {}
    int Bands() const override { return FShape.Height; }
    void FromHost(int, const PIXEL_YC *host, int stride, int first, int last) override {
        TPicture &band = BandOf(FShape.Width, last - first, FShape.Channels, FShape.Depth);
        HostToPictureRows(host + std::size_t(first) * stride, stride, band, 0, last - first);
        FTurns.InTurn(first, last, [&] {
            Encode([&] { FEncoder->WriteRows(band.Bytes.data(), last - first); });
        });
    }
    void Open() override {
        FOut = std::make_unique<TOutputFile>(FPath);
        Encode([&] {
            FEncoder =
                MakeEncoder(FKind, FShape, FQuality, [this](const uint8_t *b, std::size_t n) {
                    FPending.append(reinterpret_cast<const char *>(b), n);
                });
        });
    }
    void Write(int) override {}
    void Commit() override {
        Encode([&] { FEncoder->Finish(); });
        FOut->Commit();
        const std::string dropped = FEncoder->DroppedProfile();
        if (!dropped.empty())
            FWarnings << "morvane: " << FPath << ": warning: the colour profile is left out ("
                      << dropped << ")\n";
    }

private:
    // An encoder's fault is given the file's name; the bytes it made then go
    // on to the file, whose own faults name it already.
    template <class TWork>
    void Encode(TWork work) {
        try {
            work();
        } catch (const THostError &e) {
            throw THostError(FPath + ": " + e.what());
        }
        FOut->Write(FPending);
        FPending.clear();
    }

    const std::string FPath;
    const TFileKind FKind;
    const TPicture FShape;
    const int FQuality;
    std::ostream &FWarnings;
    std::unique_ptr<TOutputFile> FOut;
    std::unique_ptr<TRowEncoder> FEncoder;
    std::string FPending;  // bytes made and not yet written
    TBandTurns FTurns;
};

}  // namespace

std::unique_ptr<TFrameSource> OpenJpegBands(const std::string &path, std::ostream &warnings) {
    return std::make_unique<TReaderBands<TJpegReader>>(path, kMaxFrameWidth, kMaxFrameHeight,
                                                       warnings);
}

std::unique_ptr<TFrameSource> OpenPpmBands(const std::string &path) {
    return std::make_unique<TReaderBands<TPpmReader>>(path);
}

std::unique_ptr<TFrameSink> MakeBandSink(const std::string &path, TFileKind kind,
                                         const TPicture &shape, int quality,
                                         std::ostream &warnings) {
    return std::make_unique<TBandSink>(path, kind, shape, quality, warnings);
}
