// The tool's picture and stream readers: whatever the bytes, each reader
// either throws its one-line error or gives a picture of a size the tool
// accepts with exactly the samples that size needs, never reading past the
// bytes it was given. Every input goes through all three readers.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "standin/HostError.h"
#include "cli/PngFile.h"
#include "cli/PpmFile.h"
#include "cli/TargetSize.h"
#include "cli/Y4mConversion.h"
#include "cli/Y4mStream.h"

namespace {

void Expect(bool holds, const char *what) {
    if (holds) return;
    std::fprintf(stderr, "pictures: %s\n", what);
    std::abort();
}

bool Fits(int width, int height) {
    return width >= 1 && height >= 1 && width <= kMaxFrameWidth && height <= kMaxFrameHeight;
}

void ReadAsPpm(const std::string &bytes) {
    try {
        const TPicture image = ParsePpm(bytes, "fuzz.ppm");
        Expect(Fits(image.Width, image.Height), "PPM size outside the frame limits");
        Expect(image.Bytes.size() == std::size_t(image.Width) * image.Height * 3, "PPM samples");
        Expect(image.Bytes.size() < bytes.size(), "PPM samples past the file");
    } catch (const THostError &) {}
}

// libpng reads from a file; one per process, rewritten for each input.
void ReadAsPng(const std::string &bytes) {
    static const std::string path = [] {
        char name[] = "/tmp/morvane-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) std::abort();
        close(fd);
        static std::string made = name;
        std::atexit([] { std::remove(made.c_str()); });
        return made;
    }();
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    std::ostringstream warnings;
    try {
        const TPicture picture = ReadPng(path, warnings);
        Expect(Fits(picture.Width, picture.Height), "PNG size outside the frame limits");
        Expect(picture.Channels == 1 || picture.Channels == 3, "PNG channels");
        Expect(picture.Depth == 8 || picture.Depth == 16, "PNG depth");
        Expect(picture.Bytes.size() == std::size_t(picture.Height) * picture.RowBytes(),
               "PNG samples");
    } catch (const THostError &) {}
}

void ReadAsY4m(const std::string &bytes) {
    if (bytes.empty()) return;  // fmemopen refuses an empty buffer
    std::FILE *file = fmemopen(const_cast<char *>(bytes.data()), bytes.size(), "rb");
    if (!file) std::abort();
    try {
        TY4mReader reader(file, "fuzz.y4m");
        const TY4mFormat &f = reader.Format();
        Expect(Fits(f.Width, f.Height) && f.Depth >= 8 && f.Depth <= 16, "Y4M format");
        TY4mFrame frame;
        while (reader.ReadFrame(frame)) {
            Expect(frame.Bytes.size() == f.FrameBytes(), "Y4M frame bytes");
            // Samples above the stream's depth reach the conversion too.
            const TYcImage image = ToYcImage(f, frame);
            Expect(image.Width == f.Width && image.Height == f.Height, "Y4M converted size");
        }
    } catch (const THostError &) {}
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    ReadAsPpm(bytes);
    ReadAsPng(bytes);
    ReadAsY4m(bytes);
    return 0;
}
