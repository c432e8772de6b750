#include "cli/PpmFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/HostError.h"
#include "cli/SafeFile.h"

namespace {

// Reads the header's decimal fields in order, skipping blanks and comments.
class THeaderReader {
public:
    THeaderReader(const std::string &bytes, const std::string &name) : FBytes(bytes), FName(name) {}

    [[noreturn]] void Fail(const std::string &fault) const { throw THostError(FName + ": " + fault); }

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

TRgbImage ParsePpm(const std::string &bytes, const std::string &name) {
    THeaderReader header(bytes, name);
    if (bytes.compare(0, 2, "P3") == 0) header.Fail("plain-text PPM (P3) is not supported, only binary P6");
    if (bytes.compare(0, 2, "P6") != 0) header.Fail("not a binary PPM file (P6)");
    const long width = header.Number("width");
    const long height = header.Number("height");
    const long maxval = header.Number("maximum value");
    if (width < 1 || height < 1 || width > kPpmMaxSide || height > kPpmMaxSide)
        header.Fail("image size " + std::to_string(width) + "x" + std::to_string(height) +
                    " is not supported (1 to " + std::to_string(kPpmMaxSide) + " per side)");
    if (maxval != 255)
        header.Fail("maximum value " + std::to_string(maxval) + " is not supported, only 8-bit (255)");
    const std::size_t start = header.PixelStart();
    TRgbImage image{int(width), int(height)};
    const std::size_t available = bytes.size() - std::min(start, bytes.size());
    if (available < image.Bytes.size())
        header.Fail("truncated: " + std::to_string(available) + " of " +
                    std::to_string(image.Bytes.size()) + " sample bytes");
    std::copy_n(bytes.begin() + std::ptrdiff_t(start), image.Bytes.size(), image.Bytes.begin());
    return image;
}

TRgbImage ReadPpm(const std::string &path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw THostError(path + ": no such file");
    if (std::filesystem::is_directory(path, ec)) throw THostError(path + ": is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw THostError(path + ": cannot be opened");
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw THostError(path + ": cannot be read");
    return ParsePpm(bytes, path);
}

std::string EncodePpm(const TRgbImage &image) {
    std::string out = "P6\n" + std::to_string(image.Width) + " " + std::to_string(image.Height) + "\n255\n";
    out.append(reinterpret_cast<const char *>(image.Bytes.data()), image.Bytes.size());
    return out;
}

void WritePpm(const std::string &path, const TRgbImage &image) {
    WriteFileAtomically(path, EncodePpm(image));
}
