// PNG through libpng: 8 or 16 bits, grey or RGB; palettes and lower depths
// expanded to 8 bits, alpha dropped with a warning. Builds without libpng
// have IsPngAvailable() false and every call throws.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Picture.h"

bool IsPngAvailable();
// Throws THostError "<path>: <fault>". A dropped alpha channel is one line
// on `warnings`.
TPicture ReadPng(const std::string &path, std::ostream &warnings);
// The whole file as bytes, written by the caller all at once. A colour
// profile libpng refuses is left out, and `droppedProfile` says why.
std::string EncodePng(const TPicture &picture, std::string *droppedProfile = nullptr);

// The same a few rows at a time. Faults throw THostError "PNG: <fault>".
class TPngWriter {
public:
    // Receives the file's bytes as they are made; may throw, and the
    // writer's call then throws that.
    using TSink = std::function<void(const uint8_t *bytes, std::size_t size)>;

    // `channels` 1 or 3, `depth` 8 or 16; `iccProfile` stored when not empty
    // and libpng takes it.
    TPngWriter(int width, int height, int channels, int depth, const std::string &iccProfile,
               TSink sink);
    ~TPngWriter();
    TPngWriter(const TPngWriter &) = delete;
    TPngWriter &operator=(const TPngWriter &) = delete;

    // The next `count` rows, packed, 16-bit samples in the machine's order.
    void WriteRows(const uint8_t *rows, int count);
    // After the last row: the end of the file reaches the sink.
    void Finish();
    // Why a given profile was left out; empty when it was stored.
    const std::string &DroppedProfile() const;

    struct TState;  // libpng's, where it is used

private:
    std::unique_ptr<TState> F;
};
