// RGB8 and Y4M frames to the host's PIXEL_YC and back.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/HostError.h"
#include "cli/Y4mConversion.h"
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

TEST(Y4mHeader, ReadsChromaLayoutsDepthsAndSiting) {
    const struct {
        std::string tag;
        TChroma chroma;
        int depth;
        bool centredX, centredY;
    } cases[] = {
        {"", TChroma::C420, 8, true, true},          {"C420jpeg", TChroma::C420, 8, true, true},
        {"C420mpeg2", TChroma::C420, 8, false, true}, {"C420paldv", TChroma::C420, 8, false, false},
        {"C420p10", TChroma::C420, 10, true, true},   {"C422p12", TChroma::C422, 12, false, false},
        {"C444p16", TChroma::C444, 16, false, false}, {"Cmono", TChroma::Mono, 8, false, false},
        {"Cmono16", TChroma::Mono, 16, false, false},
    };
    for (const auto &c : cases) {
        const TY4mFormat f = ParseY4mHeader("YUV4MPEG2 W5 H3 F30000:1001 " + c.tag + " Ib\n", "s");
        EXPECT_EQ(f.Chroma, c.chroma) << c.tag;
        EXPECT_EQ(f.Depth, c.depth) << c.tag;
        EXPECT_EQ(f.CentredX, c.centredX) << c.tag;
        EXPECT_EQ(f.CentredY, c.centredY) << c.tag;
    }
    // Odd sizes round the chroma planes up; samples past 8 bits take two bytes.
    const TY4mFormat f = ParseY4mHeader("YUV4MPEG2 W5 H3 C420p10", "s");
    EXPECT_EQ(f.FrameBytes(), std::size_t(5 * 3 + 2 * 3 * 2) * 2);
    EXPECT_EQ(f.Tags.size(), 3u);
    TY4mFormat wider = f;
    wider.Width = 640;
    EXPECT_EQ(wider.Header(), "YUV4MPEG2 W640 H3 C420p10\n");

    for (const char *bad : {"YUV4MPEG2 W5 H3 C411", "YUV4MPEG2 W5 H3 C420p7", "YUV4MPEG2 W5 H3 C420jpeg10",
                            "YUV4MPEG2 W5 H3 C444alpha", "YUV4MPEG2 W0 H3", "YUV4MPEG2 W8193 H3", "YUV4MPEG2 H3",
                            "YUV4MPEG2 W5 H3 Q1"})
        EXPECT_THROW(ParseY4mHeader(bad, "s"), THostError) << bad;
}

TEST(Y4mConversion, LimitedRangeMapsOntoTheHostScaleAndBackExactly) {
    // Every 8-bit code survives the way there and back at 4:4:4.
    const TY4mFormat f = ParseY4mHeader("YUV4MPEG2 W256 H1 C444", "s");
    TY4mFrame frame;
    for (int p = 0; p < 3; ++p)
        for (int v = 0; v < 256; ++v) frame.Planes[p].push_back(uint16_t(p == 0 ? v : 255 - v));
    const TYcImage image = ToYcImage(f, frame);
    EXPECT_EQ(image.At(16, 0).y, 0);
    EXPECT_EQ(image.At(235, 0).y, 4096);
    EXPECT_EQ(image.At(0, 0).cb, 2048 * 127 / 112);  // 255 - 0 = 255 → (255 - 128) / 112 of 2048, rounded
    EXPECT_EQ(image.At(255 - 16, 0).cr, -2048);
    const TY4mFrame back = ToY4mFrame(f, image);
    for (int p = 0; p < 3; ++p) EXPECT_EQ(back.Planes[p], frame.Planes[p]) << p;
}
