// RGB8 to the host's PIXEL_YC and back.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/YcConversion.h"

namespace {

void ExpectYc(uint8_t r, uint8_t g, uint8_t b, int y, int cb, int cr) {
    const PIXEL_YC p = RgbToYc(r, g, b);
    EXPECT_TRUE(p.y == y && p.cb == cb && p.cr == cr)
        << "RGB (" << int(r) << ", " << int(g) << ", " << int(b) << "): expected (" << y << ", " << cb
        << ", " << cr << "), got (" << p.y << ", " << p.cb << ", " << p.cr << ")";
}

}  // namespace

TEST(YcConversion, MapsTheCornersOfTheColourCubeToTheHostsScale) {
    ExpectYc(0, 0, 0, 0, 0, 0);
    ExpectYc(255, 255, 255, 4096, 0, 0);
    ExpectYc(128, 128, 128, 2056, 0, 0);  // 128 x 4096 / 255 = 2056.03
    // Blue and red reach the chroma limits exactly.
    ExpectYc(0, 0, 255, 467, 2048, -333);
    ExpectYc(255, 0, 0, 1225, -691, 2048);
    ExpectYc(0, 255, 0, 2404, -1357, -1715);
    ExpectYc(255, 255, 0, 3629, -2048, 333);
}

TEST(YcConversion, RoundTripOfEveryRgbColourGivesTheSameBytes) {
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                uint8_t back[3];
                YcToRgb(RgbToYc(uint8_t(r), uint8_t(g), uint8_t(b)), back);
                if ((back[0] != r || back[1] != g || back[2] != b) && ++mismatches <= 5)
                    ADD_FAILURE() << "RGB (" << r << ", " << g << ", " << b << ") came back as ("
                                  << int(back[0]) << ", " << int(back[1]) << ", " << int(back[2]) << ")";
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(YcConversion, ClampsValuesBeyondTheNominalRange) {
    uint8_t rgb[3];
    YcToRgb({5000, 0, 0}, rgb);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 255);
    YcToRgb({-300, 0, 0}, rgb);
    EXPECT_EQ(rgb[2], 0);
    YcToRgb({2048, 2048, 2048}, rgb);  // beyond the cube: R and B saturate
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[2], 255);
}
