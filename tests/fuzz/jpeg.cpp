// The JPEG reader and the EXIF orientation reader: whatever the bytes, the
// reader either throws its one-line error or gives an upright picture
// within its limits, every row of it, with an orientation of 1..8; the EXIF
// reader gives 1..8 and never reads past the bytes it was given.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Exif.h"
#include "cli/JpegFile.h"
#include "standin/HostError.h"

namespace {

// Smaller than the tool's largest frame, so that an input claiming a huge
// progressive picture costs milliseconds, not the coefficients of 8192x8192.
constexpr int kLimit = 2048;

void Expect(bool holds, const char *what) {
    if (holds) return;
    std::fprintf(stderr, "jpeg: %s\n", what);
    std::abort();
}

void ReadAsJpeg(const uint8_t *data, std::size_t size) {
    std::ostringstream warnings;
    try {
        TJpegReader reader("fuzz.jpg", data, size, kLimit, kLimit, warnings);
        const int w = reader.Width(), h = reader.Height(), c = reader.Components();
        Expect(w >= 1 && h >= 1 && w <= kLimit && h <= kLimit, "size outside the limits");
        Expect(c == 1 || c == 3, "components");
        Expect(reader.Orientation() >= 1 && reader.Orientation() <= 8, "orientation");
        // Bands of uneven height, as a caller reading into frames would ask.
        std::vector<uint8_t> band(std::size_t(w) * c * 7);
        for (int y = 0; y < h; y += 7) reader.ReadRows(band.data(), std::min(7, h - y));
        reader.Finish();
    } catch (const THostError &e) {
        Expect(std::string(e.what()).find('\n') == std::string::npos, "a fault of two lines");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    ReadAsJpeg(data, size);
    // The EXIF reader alone, on the bytes as they are and behind its header,
    // where every input reaches the TIFF parser.
    std::vector<uint8_t> exif{'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), data, data + size);
    for (const auto &[bytes, n] : {std::make_pair(data, size), std::make_pair(
                                       static_cast<const uint8_t *>(exif.data()), exif.size())}) {
        // A copy of exactly n bytes, so that ASan sees any read past them.
        std::vector<uint8_t> exact(bytes, bytes + n);
        const int orientation = ExifOrientation(exact.data(), exact.size());
        Expect(orientation >= 1 && orientation <= 8, "EXIF orientation");
    }
    return 0;
}
