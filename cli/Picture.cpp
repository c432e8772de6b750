#include "cli/Picture.h"

#include <algorithm>
#include <cmath>

#include "cli/YcConversion.h"

TPicture FromRgbImage(const TRgbImage &image) {
    TPicture picture(image.Width, image.Height, 3, 8);
    std::copy(image.Bytes.begin(), image.Bytes.end(), picture.Samples.begin());
    return picture;
}

TRgbImage ToRgbImage(const TPicture &picture) {
    TRgbImage image(picture.Width, picture.Height);
    const double scale = 255.0 / picture.MaxValue();
    const std::size_t pixels = std::size_t(picture.Width) * picture.Height;
    for (std::size_t i = 0; i < pixels; ++i)
        for (int c = 0; c < 3; ++c) {
            const uint16_t v =
                picture.Samples[i * picture.Channels + (picture.Channels == 3 ? c : 0)];
            image.Bytes[i * 3 + c] = uint8_t(RoundHalfAway(v * scale));
        }
    return image;
}

TYcImage ToYcImage(const TPicture &picture) {
    TYcImage yc(picture.Width, picture.Height);
    SamplesToYc(picture.Samples.data(), picture.Channels, 255.0 / picture.MaxValue(),
                yc.Pixels.size(), yc.Pixels.data());
    return yc;
}

TPicture ToPicture(const TYcImage &image, int channels, int depth) {
    TPicture picture(image.Width, image.Height, channels, depth);
    YcToSamples(image.Pixels.data(), image.Pixels.size(), channels, picture.MaxValue() / 255.0,
                picture.MaxValue(), picture.Samples.data());
    return picture;
}
