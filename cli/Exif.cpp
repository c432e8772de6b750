#include "cli/Exif.h"

#include <cstring>

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr uint16_t kTiffMagic = 42;
constexpr std::size_t kEntryBytes = 12;

// The TIFF block after "Exif\0\0", in its own byte order. Offsets are
// 64-bit so that a 32-bit offset plus an entry's place cannot wrap.
struct TTiff {
    const uint8_t *Data;
    uint64_t Size;
    bool BigEndian;

    bool Read(uint64_t at, int bytes, uint32_t &value) const {
        if (at > Size || Size - at < uint64_t(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t(Data[at + i]) << (8 * (BigEndian ? bytes - 1 - i : i));
        return true;
    }
};

}  // namespace

int ExifOrientation(const uint8_t *data, std::size_t size) {
    static const uint8_t kHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < sizeof kHeader + 8 || std::memcmp(data, kHeader, sizeof kHeader) != 0) return 1;
    TTiff tiff{data + sizeof kHeader, size - sizeof kHeader, false};
    if (tiff.Data[0] == 'M' && tiff.Data[1] == 'M')
        tiff.BigEndian = true;
    else if (tiff.Data[0] != 'I' || tiff.Data[1] != 'I')
        return 1;
    uint32_t magic, ifd, count;
    if (!tiff.Read(2, 2, magic) || magic != kTiffMagic || !tiff.Read(4, 4, ifd) ||
        !tiff.Read(ifd, 2, count))
        return 1;
    // The orientation lives in the first IFD, so no offset is followed
    // further and a cyclic chain cannot hold the reader.
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t entry = uint64_t(ifd) + 2 + kEntryBytes * i;
        uint32_t tag, type, values, value;
        if (!tiff.Read(entry, 2, tag) || !tiff.Read(entry + 2, 2, type) ||
            !tiff.Read(entry + 4, 4, values) || !tiff.Read(entry + 8, 2, value))
            return 1;
        if (tag == kOrientationTag)
            return type == kShortType && values == 1 && value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}
