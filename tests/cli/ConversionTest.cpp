// RGB8 and Y4M frames to the host's PIXEL_YC and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "standin/HostError.h"
#include "cli/PictureRows.h"
#include "cli/SampleRows.h"
#include "cli/Y4mConversion.h"
#include "cli/YcConversion.h"

namespace {

void ExpectYc(uint8_t r, uint8_t g, uint8_t b, int y, int cb, int cr) {
    const PIXEL_YC p = RgbToYc(r, g, b);
    EXPECT_TRUE(p.y == y && p.cb == cb && p.cr == cr)
        << "RGB (" << int(r) << ", " << int(g) << ", " << int(b) << "): expected (" << y << ", "
        << cb << ", " << cr << "), got (" << p.y << ", " << p.cb << ", " << p.cr << ")";
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
                                  << int(back[0]) << ", " << int(back[1]) << ", " << int(back[2])
                                  << ")";
            }
    EXPECT_EQ(mismatches, 0);
}

// Some C libraries round 0.49999999999999994 up; the conversions may not.
TEST(YcConversion, RoundsToTheNearestWholeNumberHalvesAwayFromZero) {
    // Floats as the video rows hold them: a half added first would carry the
    // largest float below a half up to 1.
    using TFloatLane = TOneLane<float, int32_t>;
    const float belowHalf = std::nextafter(0.5f, 0.0f);
    for (const auto &[v, r] :
         std::initializer_list<std::pair<float, int>>{{belowHalf, 0},
                                                      {-belowHalf, 0},
                                                      {0.5f, 1},
                                                      {-0.5f, -1},
                                                      {2.5f, 3},
                                                      {std::nextafter(2.5f, 0.0f), 2},
                                                      {-4095.5f, -4096},
                                                      {32767.4f, 32767}})
        EXPECT_EQ(RoundHalfAwayLanes<TFloatLane>(v), r) << v;
    std::mt19937 random(5);
    std::uniform_real_distribution<double> any(-70000, 70000);
    for (int i = 0; i < 100000; ++i) {
        const double half = std::floor(any(random)) + 0.5;
        for (double v : {any(random), half, std::nextafter(half, 0.0), std::nextafter(half, 1e9),
                         -half, std::nextafter(0.5, 0.0), -std::nextafter(0.5, 0.0)}) {
            const double r = double(RoundHalfAway(v)),
                         off = std::fabs(r - v);  // exact at these sizes
            ASSERT_TRUE(off < 0.5 || (off == 0.5 && std::fabs(r) > std::fabs(v)))
                << v << " became " << r;
        }
    }
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
        {"", TChroma::C420, 8, true, true},           {"C420jpeg", TChroma::C420, 8, true, true},
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

    for (const char *bad :
         {"YUV4MPEG2 W5 H3 C411", "YUV4MPEG2 W5 H3 C420p7", "YUV4MPEG2 W5 H3 C420jpeg10",
          "YUV4MPEG2 W5 H3 C444alpha", "YUV4MPEG2 W0 H3", "YUV4MPEG2 W8193 H3", "YUV4MPEG2 H3",
          "YUV4MPEG2 W5 H3 Q1"})
        EXPECT_THROW(ParseY4mHeader(bad, "s"), THostError) << bad;
}

TEST(Y4mConversion, LimitedRangeMapsOntoTheHostScaleAndBackExactly) {
    // Every 8-bit code survives the way there and back at 4:4:4.
    const TY4mFormat f = ParseY4mHeader("YUV4MPEG2 W256 H1 C444", "s");
    TY4mFrame frame;
    for (int p = 0; p < 3; ++p) {
        std::vector<uint16_t> codes;
        for (int v = 0; v < 256; ++v) codes.push_back(uint16_t(p == 0 ? v : 255 - v));
        frame.SetPlane(f, p, codes);
    }
    const TYcImage image = ToYcImage(f, frame);
    EXPECT_EQ(image.At(16, 0).y, 0);
    EXPECT_EQ(image.At(235, 0).y, 4096);
    EXPECT_EQ(image.At(0, 0).cb,
              2048 * 127 / 112);  // 255 - 0 = 255 → (255 - 128) / 112 of 2048, rounded
    EXPECT_EQ(image.At(255 - 16, 0).cr, -2048);
    const TY4mFrame back = ToY4mFrame(f, image);
    EXPECT_EQ(back.Bytes, frame.Bytes);
}

namespace {

// The conversions as plainly as they can be written, in double precision:
// each code onto the host's scale, interpolated or averaged, rounded last.
struct TReference {
    const TY4mFormat &f;

    double Offset(bool chroma) const {
        return (chroma ? 128 : f.FullRange ? 0 : 16) << (f.Depth - 8);
    }
    double Range(bool chroma) const {
        return f.FullRange ? (1 << f.Depth) - 1 : (chroma ? 224 : 219) << (f.Depth - 8);
    }
    double Step(bool chroma) const { return 4096.0 / Range(chroma); }
    // Two taps of linear interpolation at luma position i of `m` samples.
    static void Taps(int i, int m, bool half, bool centred, int tap[2], double weight[2]) {
        const double at = half ? (i - (centred ? 0.5 : 0.0)) / 2 : i;
        const int left = int(std::floor(at));
        tap[0] = std::clamp(left, 0, m - 1);
        tap[1] = std::clamp(left + 1, 0, m - 1);
        weight[1] = at - left;
        weight[0] = 1 - weight[1];
    }
    int Host(const std::vector<uint16_t> &plane, int p, int x, int y) const {
        if (p == 0)
            return Round((plane[std::size_t(y) * f.Width + x] - Offset(false)) * Step(false));
        const int cw = f.ChromaWidth(), ch = f.ChromaHeight();
        int tx[2], ty[2];
        double wx[2], wy[2];
        Taps(x, cw, cw != f.Width, f.CentredX, tx, wx);
        Taps(y, ch, ch != f.Height, f.CentredY, ty, wy);
        double v = 0;
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                v += wy[j] * wx[i] *
                     ((plane[std::size_t(ty[j]) * cw + tx[i]] - Offset(true)) * Step(true));
        return Round(v);
    }
    static int Round(double v) { return int(std::clamp(std::lround(v), -32768L, 32767L)); }
    // [1 1]/2 between luma samples, [1 2 1]/4 on one, edges repeated.
    static double Average(int i, int n, bool half, bool centred,
                          const std::function<double(int)> &value) {
        const auto at = [&](int k) { return value(std::clamp(k, 0, n - 1)); };
        if (!half) return value(i);
        return centred ? (at(2 * i) + at(2 * i + 1)) / 2
                       : (at(2 * i - 1) + 2 * at(2 * i) + at(2 * i + 1)) / 4;
    }
    int Code(const TYcImage &image, int p, int i, int j) const {
        const auto field = [&](int x, int y) {
            return double(p == 0   ? image.At(x, y).y
                          : p == 1 ? image.At(x, y).cb
                                   : image.At(x, y).cr);
        };
        double v;
        if (p == 0) {
            v = field(i, j);
        } else {
            const bool halfX = f.ChromaWidth() != f.Width, halfY = f.ChromaHeight() != f.Height;
            v = Average(j, f.Height, halfY, f.CentredY, [&](int y) {
                return Average(i, f.Width, halfX, f.CentredX, [&](int x) { return field(x, y); });
            });
        }
        // Multiplied, not divided by the step: exact, so every half is seen.
        return int(std::clamp(std::lround(v * Range(p != 0) / 4096 + Offset(p != 0)), 0L,
                              long((1 << f.Depth) - 1)));
    }
};

struct TFormatCase {
    const char *tag;
    int depth;
    bool full;
};

std::vector<TFormatCase> EveryFormat() {
    std::vector<TFormatCase> cases;
    // Only 8-bit streams name their 4:2:0 siting; deeper ones are centred.
    for (const char *tag : {"C444", "C422", "C420", "C420jpeg", "C420mpeg2", "C420paldv", "Cmono"})
        for (int depth : {8, 10, 12, 16})
            for (bool full : {false, true})
                if (depth == 8 || std::string(tag).size() <= 4) cases.push_back({tag, depth, full});
    return cases;
}

TY4mFormat FormatOf(const TFormatCase &c, int width, int height) {
    std::string header =
        "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) + " " + c.tag;
    if (c.depth > 8) header += (std::string(c.tag) == "Cmono" ? "" : "p") + std::to_string(c.depth);
    if (c.full) header += " XCOLORRANGE=FULL";
    return ParseY4mHeader(header, "s");
}

TY4mFormat RandomFormat(const TFormatCase &c, std::mt19937 &random) {
    const int width = 1 + int(random() % 41);
    return FormatOf(c, width, 1 + int(random() % 13));
}

// Host values as a filter leaves them, a few far out of range.
TYcImage RandomHost(const TY4mFormat &f, std::mt19937 &random) {
    TYcImage host(f.Width, f.Height);
    for (PIXEL_YC &px : host.Pixels) {
        const bool wild = random() % 50 == 0;
        px.y = int16_t(wild ? int(random() % 65536) - 32768 : int(random() % 5000) - 400);
        px.cb = int16_t(wild ? int(random() % 65536) - 32768 : int(random() % 4800) - 2400);
        px.cr = int16_t(int(random() % 4800) - 2400);
    }
    return host;
}

TY4mFrame RandomFrame(const TY4mFormat &f, std::mt19937 &random) {
    TY4mFrame frame;
    for (int p = 0; p < f.Planes(); ++p) {
        std::vector<uint16_t> samples(f.PlaneSamples(p));
        for (uint16_t &s : samples) s = uint16_t(random() % (1 << f.Depth));
        frame.SetPlane(f, p, samples);
    }
    return frame;
}

}  // namespace

// Random frames of every layout, depth, range and siting against the plain
// double-precision conversion: into the host at most one code apart
// (float's last rounding) and at 8 bits the same value; back to codes, where
// the arithmetic is exact, the same value.
TEST(Y4mConversion, EveryFormatMatchesThePlainConversion) {
    std::mt19937 random(20261209);
    for (const TFormatCase &c : EveryFormat())
        for (int round = 0; round < 6; ++round) {
            const TY4mFormat f = RandomFormat(c, random);
            const TReference ref{f};
            const std::string what = std::string(c.tag) + " " + std::to_string(c.depth) +
                                     (c.full ? " full " : " ") + std::to_string(f.Width) + "x" +
                                     std::to_string(f.Height);
            // No exact result is a half there, so float rounds as exactly as double.
            const int tolerance = c.depth == 8 || (!c.full && c.depth == 10) ? 0 : 1;
            const TY4mFrame frame = RandomFrame(f, random);
            std::vector<uint16_t> planes[3];
            for (int p = 0; p < f.Planes(); ++p) planes[p] = frame.Plane(f, p);
            const TYcImage image = ToYcImage(f, frame);
            for (int y = 0; y < f.Height; ++y)
                for (int x = 0; x < f.Width; ++x)
                    for (int p = 0; p < 3; ++p) {
                        const int got = p == 0   ? image.At(x, y).y
                                        : p == 1 ? image.At(x, y).cb
                                                 : image.At(x, y).cr;
                        const int want = p >= f.Planes() ? 0 : ref.Host(planes[p], p, x, y);
                        if (std::abs(got - want) > tolerance)
                            FAIL() << what << ": to the host at (" << x << ", " << y << ") plane "
                                   << p << ": expected " << want << ", got " << got;
                    }

            const TYcImage host = RandomHost(f, random);
            const TY4mFrame back = ToY4mFrame(f, host);
            for (int p = 0; p < f.Planes(); ++p) {
                const std::vector<uint16_t> codes = back.Plane(f, p);
                const int w = p ? f.ChromaWidth() : f.Width;
                for (std::size_t i = 0; i < codes.size(); ++i) {
                    const int want = ref.Code(host, p, int(i % w), int(i / w));
                    if (codes[i] != want)
                        FAIL() << what << ": to codes at sample " << i << " of plane " << p
                               << ": expected " << want << ", got " << codes[i];
                }
            }
        }
}

// The workers convert a frame in bands into a frame with a wider stride:
// any cut gives the whole frame's bytes, and nothing beyond a line's end is
// touched.
TEST(Y4mConversion, BandsOfAnyCutGiveTheWholeFrame) {
    std::mt19937 random(7);
    for (const TFormatCase &c : EveryFormat()) {
        const TY4mFormat f = RandomFormat(c, random);
        const TY4mFrame frame = RandomFrame(f, random);
        const TYcImage whole = ToYcImage(f, frame);
        const int stride = f.Width + 1 + int(random() % 9);
        const PIXEL_YC guard{-7, 7, -7};
        std::vector<PIXEL_YC> host(std::size_t(stride) * f.Height, guard);
        for (int first = 0; first < f.Height;) {
            const int last = std::min(f.Height, first + 1 + int(random() % 4));
            ToHostRows(f, frame.Bytes.data(), host.data(), stride, first, last);
            first = last;
        }
        for (int y = 0; y < f.Height; ++y)
            for (int x = 0; x < stride; ++x) {
                const PIXEL_YC &got = host[std::size_t(y) * stride + x],
                               &want = x < f.Width ? whole.At(x, y) : guard;
                ASSERT_TRUE(got.y == want.y && got.cb == want.cb && got.cr == want.cr)
                    << c.tag << " " << c.depth << ": pixel (" << x << ", " << y << ")";
            }

        const TY4mFrame back = ToY4mFrame(f, whole);
        std::vector<uint8_t> banded(f.FrameBytes(), 0xA5);
        for (int first = 0; first < StreamBands(f);) {
            const int last = std::min(StreamBands(f), first + 1 + int(random() % 3));
            ToStreamRows(f, host.data(), stride, banded.data(), first, last);
            first = last;
        }
        EXPECT_EQ(banded, back.Bytes) << c.tag << " " << c.depth;
    }
}

namespace {

// Puts back the tier a test found, however it ends.
struct TTierKept {
    const TRowTier Kept = ActiveRowTier();
    ~TTierKept() { UseRowTier(Kept); }
};

std::string PixelText(const PIXEL_YC &p) {
    return "(" + std::to_string(p.y) + ", " + std::to_string(p.cb) + ", " + std::to_string(p.cr) +
           ")";
}

}  // namespace

// Every row tier this processor runs gives the baseline's bytes both ways,
// at every width to 80: each vector body, alone and followed by the next
// tier's, and every count of leftover samples; lines past the first start
// at every alignment.
TEST(Y4mConversion, EveryRowTierGivesTheBaselinesBytes) {
    const TTierKept kept;
    std::vector<TRowTier> tiers;
    for (TRowTier tier : {TRowTier::Sse2, TRowTier::Avx2})
        if (RowOpsOf(tier)) tiers.push_back(tier);
    if (tiers.empty()) GTEST_SKIP() << "no vector tier on this build or processor";
    if (!RowOpsOf(TRowTier::Avx2))
        std::cout << "[ note ] no AVX2 here: that tier is not compared\n";
    std::mt19937 random(31);
    for (const TFormatCase &c : EveryFormat())
        for (int width = 1; width <= 80; ++width) {
            const TY4mFormat f = FormatOf(c, width, 1 + int(random() % 4));
            const TY4mFrame frame = RandomFrame(f, random);
            const TYcImage host = RandomHost(f, random);
            ASSERT_TRUE(UseRowTier(TRowTier::Baseline));
            const TYcImage wantIn = ToYcImage(f, frame);
            const TY4mFrame wantOut = ToY4mFrame(f, host);
            for (TRowTier tier : tiers) {
                ASSERT_TRUE(UseRowTier(tier));
                const std::string what = "tier " + std::to_string(int(tier)) + ", " + c.tag + " " +
                                         std::to_string(c.depth) + (c.full ? " full, " : ", ") +
                                         std::to_string(f.Width) + "x" + std::to_string(f.Height);
                const TYcImage in = ToYcImage(f, frame);
                for (std::size_t i = 0; i < in.Pixels.size(); ++i) {
                    const PIXEL_YC &got = in.Pixels[i], &want = wantIn.Pixels[i];
                    if (got.y != want.y || got.cb != want.cb || got.cr != want.cr)
                        FAIL() << what << ": to the host at (" << i % width << ", " << i / width
                               << "): expected " << PixelText(want) << ", got " << PixelText(got);
                }
                const TY4mFrame out = ToY4mFrame(f, host);
                const auto at = std::mismatch(out.Bytes.begin(), out.Bytes.end(),
                                              wantOut.Bytes.begin(), wantOut.Bytes.end());
                if (at.first != out.Bytes.end())
                    FAIL() << what << ": to codes at byte " << at.first - out.Bytes.begin()
                           << ": expected " << int(*at.second) << ", got " << int(*at.first);
            }
        }
}

namespace {

// A picture whose samples run through `next` (0..max), row by row.
TPicture PictureOf(int width, int height, int channels, int depth,
                   const std::function<int()> &next) {
    TPicture p(width, height, channels, depth);
    for (std::size_t i = 0; i < std::size_t(width) * height * channels; ++i) {
        const uint16_t v = uint16_t(next());
        if (depth == 8)
            p.Bytes[i] = uint8_t(v);
        else
            std::memcpy(p.Bytes.data() + 2 * i, &v, 2);
    }
    return p;
}

void ExpectHostPixels(const TPicture &in, const std::string &what) {
    const TYcImage got = ToYcImage(in);
    std::vector<PIXEL_YC> want(got.Pixels.size());
    SamplesToYc(in.Samples().data(), in.Channels, 255.0 / in.MaxValue(), want.size(), want.data());
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_TRUE(got.Pixels[i].y == want[i].y && got.Pixels[i].cb == want[i].cb &&
                    got.Pixels[i].cr == want[i].cr)
            << what << " pixel " << i << ": expected " << PixelText(want[i]) << ", got "
            << PixelText(got.Pixels[i]);
}

void ExpectSamples(const TYcImage &host, int channels, int depth, const std::string &what) {
    TPicture out(host.Width, host.Height, channels, depth);
    HostToPictureRows(host.Pixels.data(), host.Width, out, 0, out.Height);
    std::vector<uint16_t> want(host.Pixels.size() * channels);
    YcToSamples(host.Pixels.data(), host.Pixels.size(), channels, out.MaxValue() / 255.0,
                out.MaxValue(), want.data());
    const std::vector<uint16_t> got = out.Samples();
    const auto at = std::mismatch(got.begin(), got.end(), want.begin());
    ASSERT_TRUE(at.first == got.end()) << what << " sample " << at.first - got.begin()
                                       << ": expected " << *at.second << ", got " << *at.first;
}

}  // namespace

// Every row tier's picture rows (two or four pixels a step) give the
// one-pixel conversions' values both ways: every 8-bit colour and every
// grey, random 16-bit colours, and host pixels across and beyond the
// nominal ranges. Widths of 4n + 1 leave pixels to each narrower path.
TEST(PictureRows, GiveTheScalarConversionsValues) {
    const TTierKept kept;
    std::mt19937 random(11);
    for (const TRowTier tier : {TRowTier::Baseline, TRowTier::Sse2, TRowTier::Avx2})
        for (const int channels : {1, 3})
            for (const int depth : {8, 16}) {
                if (!UseRowTier(tier)) continue;
                const std::string what = "tier " + std::to_string(int(tier)) + ", " +
                                         std::to_string(channels) + "x" + std::to_string(depth);
                const int max = (1 << depth) - 1;
                if (channels == 1) {  // every grey, in order
                    int next = 0;
                    ExpectHostPixels(PictureOf(257, (max + 257) / 257, 1, depth,
                                               [&] { return next++ % (max + 1); }),
                                     what);
                } else if (depth == 8) {  // every colour, a red at a time
                    for (int red = 0; red < 256; ++red) {
                        int n = 0;
                        ExpectHostPixels(PictureOf(257, 256, 3, 8,
                                                   [&] {
                                                       const int c = n % 3, pixel = n++ / 3;
                                                       return c == 0   ? red
                                                              : c == 1 ? pixel % 256
                                                                       : pixel / 256 % 256;
                                                   }),
                                         what);
                    }
                } else {
                    ExpectHostPixels(
                        PictureOf(257, 999, 3, 16, [&] { return int(random() % 65536); }), what);
                }
                TYcImage host(257, 999);
                std::uniform_int_distribution<int> y(-700, 4800), c(-2700, 2700),
                    any(-32768, 32767);
                for (PIXEL_YC &p : host.Pixels)
                    p = random() % 8
                            ? PIXEL_YC{int16_t(y(random)), int16_t(c(random)), int16_t(c(random))}
                            : PIXEL_YC{int16_t(any(random)), int16_t(any(random)),
                                       int16_t(any(random))};
                ExpectSamples(host, channels, depth, what);
            }
}
