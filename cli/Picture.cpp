#include "cli/Picture.h"

#include <cstring>

#include "cli/PictureRows.h"

std::vector<uint16_t> TPicture::Samples() const {
    std::vector<uint16_t> samples(std::size_t(Width) * Height * Channels);
    if (Depth == 8)
        std::copy(Bytes.begin(), Bytes.begin() + std::ptrdiff_t(samples.size()), samples.begin());
    else
        std::memcpy(samples.data(), Bytes.data(), samples.size() * sizeof(uint16_t));
    return samples;
}

TYcImage ToYcImage(const TPicture &picture) {
    TYcImage yc(picture.Width, picture.Height);
    PictureToHostRows(picture, yc.Pixels.data(), picture.Width, 0, picture.Height);
    return yc;
}
