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
            const uint16_t v = picture.Samples[i * picture.Channels + (picture.Channels == 3 ? c : 0)];
            image.Bytes[i * 3 + c] = uint8_t(std::lround(v * scale));
        }
    return image;
}

TYcImage ToYcImage(const TPicture &picture) {
    TYcImage yc(picture.Width, picture.Height);
    const double scale = 255.0 / picture.MaxValue();
    for (std::size_t i = 0; i < yc.Pixels.size(); ++i) {
        const uint16_t *p = &picture.Samples[i * picture.Channels];
        yc.Pixels[i] = picture.Channels == 1 ? GreyToYc(p[0] * scale)
                                             : RgbToYc(p[0] * scale, p[1] * scale, p[2] * scale);
    }
    return yc;
}

TPicture ToPicture(const TYcImage &image, int channels, int depth) {
    TPicture picture(image.Width, image.Height, channels, depth);
    const double scale = picture.MaxValue() / 255.0;
    const auto sample = [&](double value) {
        return uint16_t(std::clamp(std::lround(value * scale), 0L, long(picture.MaxValue())));
    };
    for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
        uint16_t *p = &picture.Samples[i * channels];
        if (channels == 1) {
            p[0] = sample(YcToGrey(image.Pixels[i]));
            continue;
        }
        double rgb[3];
        YcToRgb(image.Pixels[i], rgb);
        for (int c = 0; c < 3; ++c) p[c] = sample(rgb[c]);
    }
    return picture;
}
