// JPEG through libjpeg(-turbo): 8-bit grey or colour (YCbCr or RGB),
// baseline or progressive. The reader turns the picture upright as its EXIF
// orientation says and hands over its ICC profile; the writer stores one.
// Builds without libjpeg have IsJpegAvailable() false, and the reader and
// writer throw.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

bool IsJpegAvailable();

class TJpegReader {
public:
    // Reads the headers of the file at `path`. Throws THostError
    // "<path>: <fault>" for what is no JPEG, damaged, CMYK or YCCK, or
    // upright wider than `maxWidth` or taller than `maxHeight`, before any
    // memory for samples is taken. Warnings of damaged data the picture
    // survives are one line on `warnings` when the reading ends.
    TJpegReader(const std::string &path, int maxWidth, int maxHeight, std::ostream &warnings);
    // The same for bytes in memory, named `name` in messages.
    TJpegReader(const std::string &name, const uint8_t *bytes, std::size_t size, int maxWidth,
                int maxHeight, std::ostream &warnings);
    ~TJpegReader();
    TJpegReader(const TJpegReader &) = delete;
    TJpegReader &operator=(const TJpegReader &) = delete;

    int Width() const;                      // upright
    int Height() const;                     // upright
    int Components() const;                 // 1 grey, 3 RGB
    int Orientation() const;                // as stored, 1..8
    const std::string &IccProfile() const;  // empty without one

    // The next `count` upright rows, Width() × Components() bytes each,
    // packed at `rows`. A stored orientation that changes the row order
    // decodes the whole picture at the first call. Throws THostError on
    // damaged or truncated data.
    void ReadRows(uint8_t *rows, int count);
    // After the last row: reads to the end of the picture, so that a file cut
    // short there is a fault too.
    void Finish();

    struct TState;  // libjpeg's, where it is used

private:
    std::unique_ptr<TState> F;
};

class TJpegWriter {
public:
    // Receives the file's bytes as they are made; may throw, and the
    // writer's call then throws that.
    using TSink = std::function<void(const uint8_t *bytes, std::size_t size)>;

    // `quality` 1..100; `iccProfile` stored when not empty. Throws THostError.
    TJpegWriter(int width, int height, int components, int quality, const std::string &iccProfile,
                TSink sink);
    ~TJpegWriter();
    TJpegWriter(const TJpegWriter &) = delete;
    TJpegWriter &operator=(const TJpegWriter &) = delete;

    // The next `count` rows, width × components bytes each, packed.
    void WriteRows(const uint8_t *rows, int count);
    // After the last row: the end of the file reaches the sink.
    void Finish();

    struct TState;  // libjpeg's, where it is used

private:
    std::unique_ptr<TState> F;
};
