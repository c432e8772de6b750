#include "cli/PpmFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <stdexcept>

#include "standin/HostError.h"
#include "cli/OutputFile.h"
#include "cli/TargetSize.h"
#include "platform/SizeText.h"

namespace {

// Reads the header's decimal fields in order, skipping blanks and comments.
class THeaderReader {
public:
    THeaderReader(const std::string &bytes, const std::string &name) : FBytes(bytes), FName(name) {}

    [[noreturn]] void Fail(const std::string &fault) const {
        throw THostError(FName + ": " + fault);
    }

    long Number(const char *what) {
        SkipBlanksAndComments();
        long value = 0;
        std::size_t digits = 0;
        while (FPos < FBytes.size() && std::isdigit(static_cast<unsigned char>(FBytes[FPos]))) {
            if (value < 100000000) value = value * 10 + (FBytes[FPos] - '0');
            ++FPos;
            ++digits;
        }
        if (digits == 0) Fail(std::string("damaged PPM header: no ") + what);
        return value;
    }
    // The single blank between the header and the samples.
    std::size_t PixelStart() {
        if (FPos >= FBytes.size() || !std::isspace(static_cast<unsigned char>(FBytes[FPos])))
            Fail("damaged PPM header: no blank after the maximum value");
        return FPos + 1;
    }

private:
    void SkipBlanksAndComments() {
        while (FPos < FBytes.size()) {
            const char c = FBytes[FPos];
            if (c == '#') {
                while (FPos < FBytes.size() && FBytes[FPos] != '\n' && FBytes[FPos] != '\r') ++FPos;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++FPos;
            } else {
                return;
            }
        }
    }

    const std::string &FBytes;
    const std::string &FName;
    std::size_t FPos = 2;  // after the magic number
};

}  // namespace

namespace {

// Bytes read before the header is parsed; a longer header is refused.
constexpr std::size_t kHeaderBytes = 4096;

struct TPpmLayout {
    int Width = 0, Height = 0;
    std::size_t Start = 0;  // first sample byte
    std::size_t SampleBytes() const { return std::size_t(Width) * Height * 3; }
};

TPpmLayout ParseHeader(const std::string &bytes, const std::string &name) {
    THeaderReader header(bytes, name);
    if (bytes.compare(0, 2, "P3") == 0)
        header.Fail("plain-text PPM (P3) is not supported, only binary P6");
    if (bytes.compare(0, 2, "P6") != 0) header.Fail("not a binary PPM file (P6)");
    const long width = header.Number("width");
    const long height = header.Number("height");
    const long maxval = header.Number("maximum value");
    if (width < 1 || height < 1 || !FitsLargestFrame(width, height))
        header.Fail("image size " + FormatSize(int32_t(width), int32_t(height)) +
                    " is not supported (1x1 to " + LargestFrameText() + ")");
    if (maxval != 255)
        header.Fail("maximum value " + std::to_string(maxval) +
                    " is not supported, only 8-bit (255)");
    return {int(width), int(height), header.PixelStart()};
}

// The claimed size is checked against the bytes present before the picture
// is allocated.
TPicture Samples(const std::string &bytes, const TPpmLayout &layout, const std::string &name) {
    const std::size_t available = bytes.size() - std::min(layout.Start, bytes.size());
    if (available < layout.SampleBytes())
        throw THostError(name + ": truncated: " + std::to_string(available) + " of " +
                         std::to_string(layout.SampleBytes()) + " sample bytes");
    TPicture picture(layout.Width, layout.Height, 3, 8);
    std::memcpy(picture.Bytes.data(), bytes.data() + layout.Start, layout.SampleBytes());
    return picture;
}

void CheckRgb8(const TPicture &picture) {
    if (picture.Channels != 3 || picture.Depth != 8)
        throw std::logic_error("PPM holds 8-bit RGB only");
}

}  // namespace

TPicture ParsePpm(const std::string &bytes, const std::string &name) {
    return Samples(bytes, ParseHeader(bytes, name), name);
}

struct TPpmReader::TState {
    std::string Path;
    std::FILE *File = nullptr;
    TPpmLayout Layout;
    std::string Head;        // the bytes read with the header
    std::size_t HeadAt = 0;  // the first of them not yet handed out
    std::size_t Got = 0;     // sample bytes handed out
    ~TState() {
        if (File) std::fclose(File);
    }
    [[noreturn]] void Truncated(std::size_t got) const {
        throw THostError(Path + ": truncated: " + std::to_string(got) + " of " +
                         std::to_string(Layout.SampleBytes()) + " sample bytes");
    }
};

TPpmReader::TPpmReader(const std::string &path) : F(new TState) {
    TState &s = *F;
    s.Path = path;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw THostError(path + ": no such file");
    if (std::filesystem::is_directory(path, ec)) throw THostError(path + ": is a folder");
    s.File = std::fopen(path.c_str(), "rb");
    if (!s.File) throw THostError(path + ": cannot be opened");
    // Never more than the header promises: the input may be a device or a
    // pipe without end.
    s.Head.resize(kHeaderBytes);
    s.Head.resize(std::fread(s.Head.data(), 1, s.Head.size(), s.File));
    s.Layout = ParseHeader(s.Head, path);
    s.HeadAt = std::min(s.Layout.Start, s.Head.size());
    // A regular file too short for its claim is refused before any rows are
    // asked for; other files show it as their rows arrive.
    struct stat info;
    if (fstat(fileno(s.File), &info) == 0 && S_ISREG(info.st_mode) &&
        std::size_t(info.st_size) < s.Layout.Start + s.Layout.SampleBytes())
        s.Truncated(std::size_t(info.st_size) -
                    std::min(s.Layout.Start, std::size_t(info.st_size)));
}

TPpmReader::~TPpmReader() = default;

int TPpmReader::Width() const { return F->Layout.Width; }
int TPpmReader::Height() const { return F->Layout.Height; }

void TPpmReader::ReadRows(uint8_t *rows, int count) {
    TState &s = *F;
    const std::size_t wanted = std::size_t(count) * s.Layout.Width * 3;
    if (wanted > s.Layout.SampleBytes() - s.Got)
        throw std::logic_error(s.Path + ": rows asked for past the picture's end");
    std::size_t got = std::min(s.Head.size() - s.HeadAt, wanted);
    std::memcpy(rows, s.Head.data() + s.HeadAt, got);
    s.HeadAt += got;
    for (std::size_t n = 1; got < wanted && n > 0; got += n)
        n = std::fread(rows + got, 1, wanted - got, s.File);
    s.Got += got;
    if (std::ferror(s.File)) throw THostError(s.Path + ": cannot be read");
    if (got < wanted) s.Truncated(s.Got);
}

TPicture ReadPpm(const std::string &path) {
    TPpmReader reader(path);
    // Straight into the picture, whose memory follows the bytes that arrive
    // rather than the claim (TUncleared).
    TPicture picture(reader.Width(), reader.Height(), 3, 8);
    reader.ReadRows(picture.Bytes.data(), picture.Height);
    return picture;
}

std::string PpmHeader(int width, int height) {
    return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
}

std::string EncodePpm(const TPicture &picture) {
    CheckRgb8(picture);
    std::string out = PpmHeader(picture.Width, picture.Height);
    out.append(reinterpret_cast<const char *>(picture.Bytes.data()), picture.Bytes.size());
    return out;
}

void WritePpm(const std::string &path, const TPicture &picture) {
    CheckRgb8(picture);
    TOutputFile out(path);
    out.Write(PpmHeader(picture.Width, picture.Height));
    out.Write(picture.Bytes.data(), picture.Bytes.size());
    out.Commit();
}
