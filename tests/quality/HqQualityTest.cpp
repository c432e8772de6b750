// The HQ kernels' quality targets, Lanczos 3, through the
// stand-in host: a 30 | 220 edge 4× up neither dips nor overshoots by more
// than one level and rises no wider than AVX's; one 255 pixel on 40 leaves
// no moat deeper than two levels; flat fields of every 8-bit code come back
// after 2:1; a dark ramp steps by at most a quarter level after 2:1; an
// ordinary reduction stays within one code of AVX wherever AVX gives 16 or
// more. The standard kernels miss the first four, which the last test
// shows, so the measurements can tell.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/TestPattern.h"
#include "cli/YcConversion.h"
#include "tests/quality/QualityHost.h"

namespace {

using namespace quality_test;

// The processor and system run AVX code (Varnoth withholds itself
// otherwise, and the filter would fall back to the first kernel).
bool HasAvx() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

const TQualityHost &Host() {
    static const TQualityHost host;
    return host;
}

// The standard kernel the HQ one is measured against: AVX where it runs.
std::string Yardstick() { return HasAvx() ? "AVX" : "SSE"; }

class HqQuality : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        if (std::string(GetParam()) == "AVX-HQ" && !HasAvx())
            GTEST_SKIP() << "this processor or system lacks AVX: AVX-HQ not measured";
    }
};

TEST_P(HqQuality, EdgeNeitherRingsNorSoftens) {
    const EdgeMeasure hq = MeasureEdge(Host(), GetParam());
    const EdgeMeasure standard = MeasureEdge(Host(), Yardstick());
    EXPECT_LE(hq.undershoot, 1);
    EXPECT_LE(hq.overshoot, 1);
    EXPECT_GT(hq.rise, 0.0);
    EXPECT_LE(hq.rise, standard.rise) << Yardstick() << "'s rise";
    std::cout << GetParam() << ": edge undershoot " << hq.undershoot << ", overshoot "
              << hq.overshoot << ", 10-90 rise " << hq.rise << " source pixels; " << Yardstick()
              << " " << standard.undershoot << ", " << standard.overshoot << ", " << standard.rise
              << "\n";
}

TEST_P(HqQuality, StarLeavesNoMoat) {
    const int moat = MeasureMoat(Host(), GetParam());
    EXPECT_LE(moat, 2);
    std::cout << GetParam() << ": star moat " << moat << " levels; " << Yardstick() << " "
              << MeasureMoat(Host(), Yardstick()) << "\n";
}

TEST_P(HqQuality, EveryFlatCodeComesBack) {
    const std::vector<int> lost = LostCodes(Host(), GetParam());
    EXPECT_TRUE(lost.empty()) << lost.size() << " codes lost, the first " << lost.front();
}

TEST_P(HqQuality, DarkRampKeepsItsSteps) {
    const double step = LargestRampStep(Host(), GetParam());
    EXPECT_LE(step, 0.25);
    std::cout << GetParam() << ": largest dark-ramp step " << step << " levels; " << Yardstick()
              << " " << LargestRampStep(Host(), Yardstick()) << "\n";
}

TEST_P(HqQuality, OrdinaryReductionStaysWithinOneCodeOfAvx) {
    const TPicture pattern = MakeTestPattern(1920, 1080);
    TYcImage src(1920, 1080);
    for (int y = 0; y < src.Height; ++y)
        for (int x = 0; x < src.Width; ++x) {
            const uint8_t *p = pattern.At(x, y);
            src.At(x, y) = RgbToYc(p[0], p[1], p[2]);
        }
    const TYcImage hq = Host().Resize(src, 1280, 720, "Spline36", 0, GetParam());
    const TYcImage standard = Host().Resize(src, 1280, 720, "Spline36", 0, Yardstick());
    int checked = 0, worst = 0;
    for (int y = 0; y < hq.Height; ++y)
        for (int x = 0; x < hq.Width; ++x) {
            uint8_t a[3], b[3];
            YcToRgb(standard.At(x, y), a);
            YcToRgb(hq.At(x, y), b);
            for (int ch = 0; ch < 3; ++ch) {
                if (a[ch] < 16) continue;
                ++checked;
                const int d = std::abs(int(a[ch]) - int(b[ch]));
                worst = std::max(worst, d);
                EXPECT_LE(d, 1) << "pixel (" << x << ", " << y << ") channel " << ch << ": "
                                << Yardstick() << " " << int(a[ch]) << ", " << GetParam() << " "
                                << int(b[ch]);
                if (d > 1) return;
            }
        }
    EXPECT_GT(checked, 1280 * 720);
    std::cout << GetParam() << ": largest difference from " << Yardstick() << " " << worst
              << " codes\n";
}

INSTANTIATE_TEST_SUITE_P(Kernels, HqQuality, ::testing::Values("SSE-HQ", "AVX-HQ"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param) == "SSE-HQ" ? "SseHq" : "AvxHq";
                         });

// The measurements tell: the standard kernels miss the edge, star, code
// and ramp targets.
TEST(HqQualityYardstick, StandardKernelsMissTheTargets) {
    for (const char *kernel : {"SSE", "AVX"}) {
        if (std::string(kernel) == "AVX" && !HasAvx()) continue;
        SCOPED_TRACE(kernel);
        const EdgeMeasure edge = MeasureEdge(Host(), kernel);
        EXPECT_GT(edge.undershoot, 1);
        EXPECT_GT(edge.overshoot, 1);
        EXPECT_GT(MeasureMoat(Host(), kernel), 2);
        EXPECT_FALSE(LostCodes(Host(), kernel).empty());
        EXPECT_GT(LargestRampStep(Host(), kernel), 0.25);
    }
}

}  // namespace
