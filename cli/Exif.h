// The one EXIF fact the tool uses: the orientation in which a camera stored
// a photo. Read by our own code, which trusts nothing in the block.
#pragma once
#include <cstddef>
#include <cstdint>

// The orientation tag, 1..8, of a JPEG APP1 payload that starts "Exif\0\0";
// 1 when it is no EXIF block, has no such tag in its first IFD, or the tag
// holds anything else. Never reads outside [data, data + size).
int ExifOrientation(const uint8_t *data, std::size_t size);
