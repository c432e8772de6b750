// Binary PPM (P6) with 8-bit samples: the tool's input and output format.
// Header fields are separated by blanks and may carry '#' comments; exactly
// one blank follows the maximum value, then the samples R, G, B row by row.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "cli/Picture.h"
#include "cli/TargetSize.h"

// Throws THostError "<path>: <fault>" for a missing, unreadable or malformed
// file (not P6, maxval other than 255, size 0 or beyond the largest frame,
// truncated). Reads no more than the header claims.
// The picture is 8-bit RGB.
TPicture ReadPpm(const std::string &path);
// The same a few rows at a time: the header is read and checked (and a
// regular file's length against it) when constructed.
class TPpmReader {
public:
    explicit TPpmReader(const std::string &path);
    ~TPpmReader();
    TPpmReader(const TPpmReader &) = delete;
    TPpmReader &operator=(const TPpmReader &) = delete;

    int Width() const;
    int Height() const;
    // The next `count` rows, Width() × 3 bytes each, packed at `rows`.
    void ReadRows(uint8_t *rows, int count);

    struct TState;

private:
    std::unique_ptr<TState> F;
};
// The same check on bytes already in memory; the message names `name`.
TPicture ParsePpm(const std::string &bytes, const std::string &name);

// What comes before the samples of a `width` × `height` picture.
std::string PpmHeader(int width, int height);
// Of an 8-bit RGB picture; throws std::logic_error for any other.
std::string EncodePpm(const TPicture &picture);
// The same, all or nothing.
void WritePpm(const std::string &path, const TPicture &picture);
