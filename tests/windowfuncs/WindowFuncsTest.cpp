#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"
#include "tests/support/WindowFuncLibrary.h"

namespace {

// One context of a record, released with the object.
class TContext {
public:
    TContext(const WindowFuncPluginInfo *info, int32_t param)
        : FInfo(info), FContext(info->CreateContext(param)) {}
    ~TContext() { FInfo->DestroyContext(FContext); }
    TContext(const TContext &) = delete;
    TContext &operator=(const TContext &) = delete;
    double operator()(double x) const { return FInfo->Weight(x, FContext); }
    int32_t Radius() const { return FInfo->GetRadius(FContext); }

private:
    const WindowFuncPluginInfo *FInfo;
    void *FContext;
};

// Every record with each parameter value worth checking.
struct TCase {
    const char *name;
    int32_t param;
};
const TCase kCases[] = {{"Spline16", 0}, {"Spline36", 0}, {"Spline64", 0},  {"Lanczos", 1},
                        {"Lanczos", 2},  {"Lanczos", 3},  {"Lanczos", 4},   {"Lanczos", 8},
                        {"Bicubic", 0},  {"Bicubic", 50}, {"Bicubic", 100}, {"Bilinear", 0}};

class WindowFuncs : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FLib.Loaded()) << testing_support::PluginPath("WindowFuncs.dll");
    }
    const WindowFuncPluginInfo *Record(const char *name) {
        const WindowFuncPluginInfo *info = FLib.Record(name);
        EXPECT_NE(info, nullptr) << name;
        return info;
    }
    testing_support::TWindowFuncLibrary FLib{testing_support::PluginPath("WindowFuncs.dll")};
};

TEST_F(WindowFuncs, RecordsNamesRadiiAndParameters) {
    struct TExpected {
        const char *name;
        const char *caption;
        int16_t min, max, def;
        int32_t radius;  // at the default parameter
    };
    const TExpected expected[] = {
        {"Spline16", nullptr, 0, 0, 0, 2},
        {"Spline36", nullptr, 0, 0, 0, 3},
        {"Spline64", nullptr, 0, 0, 0, 4},
        {"Lanczos", "  \x83\x5E\x83\x62\x83\x76\x90\x94", 1, 8, 3, 3},  // "  タップ数"
        {"Bicubic", "  \x83\x56\x83\x83\x81\x5B\x83\x76\x83\x6C\x83\x58", 0, 100, 50, 2},
        {"Bilinear", nullptr, 0, 0, 0, 1},
    };
    int32_t index = 0;
    for (const TExpected &e : expected) {
        SCOPED_TRACE(e.name);
        const WindowFuncPluginInfo *info = FLib.At(index++);
        ASSERT_NE(info, nullptr);
        EXPECT_STREQ(info->name, e.name);
        if (e.caption)
            EXPECT_STREQ(info->paramName, e.caption);
        else
            EXPECT_EQ(info->paramName, nullptr);
        EXPECT_EQ(info->paramMin, e.min);
        EXPECT_EQ(info->paramMax, e.max);
        EXPECT_EQ(info->paramDefault, e.def);
        EXPECT_EQ(TContext(info, uint16_t(info->paramDefault)).Radius(), e.radius);
    }
    EXPECT_EQ(FLib.At(index), nullptr);
    EXPECT_EQ(FLib.At(-1), nullptr);
}

TEST_F(WindowFuncs, OneAtZeroZeroAtOtherIntegersAndBeyond) {
    for (const TCase &c : kCases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.param);
        TContext w(Record(c.name), c.param);
        const int32_t radius = w.Radius();
        ASSERT_GE(radius, 1);
        ASSERT_LE(radius, 8);
        EXPECT_EQ(w(0), 1.0);
        for (int32_t k = 1; k <= radius + 2; ++k) {
            EXPECT_NEAR(w(k), 0, 1e-15) << "at " << k;
            EXPECT_NEAR(w(-k), 0, 1e-15) << "at " << -k;
        }
        for (double x = radius; x < radius + 2; x += 0.125) EXPECT_EQ(w(x), 0) << "at " << x;
    }
}

TEST_F(WindowFuncs, SymmetricAndContinuousAtPieceBoundaries) {
    for (const TCase &c : kCases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.param);
        TContext w(Record(c.name), c.param);
        for (double x = 0; x < w.Radius() + 1; x += 1.0 / 64) ASSERT_EQ(w(x), w(-x)) << "at " << x;
        for (int32_t b = 1; b <= w.Radius(); ++b) {
            const double below = std::nextafter(double(b), 0.0);
            EXPECT_NEAR(w(below), w(b), 1e-12) << "at " << b;
            EXPECT_NEAR(w(-below), w(-b), 1e-12) << "at " << -b;
        }
    }
}

// The cubic splines and Keys' cubic reproduce a constant exactly: integer
// shifts sum to 1 at every phase. A wrong coefficient breaks that.
TEST_F(WindowFuncs, SplinesAndCubicsSumToOneOverShifts) {
    for (const TCase &c : kCases) {
        if (std::strcmp(c.name, "Lanczos") == 0) continue;
        SCOPED_TRACE(testing::Message() << c.name << " " << c.param);
        TContext w(Record(c.name), c.param);
        for (double phase = 0; phase < 1; phase += 1.0 / 128) {
            double sum = 0;
            for (int32_t k = -9; k <= 9; ++k) sum += w(phase - k);
            EXPECT_NEAR(sum, 1, 1e-12) << "phase " << phase;
        }
    }
}

TEST_F(WindowFuncs, ValuesFromTheFormulas) {
    EXPECT_NEAR(TContext(Record("Spline16"), 0)(0.5), 0.575, 1e-15);
    EXPECT_NEAR(TContext(Record("Spline16"), 0)(1.5), -0.075, 1e-15);
    const double pi = 3.14159265358979323846;
    // Lanczos 3 at 0.5: sinc(1/2) · sinc(1/6).
    const double lanczos = std::sin(pi / 2) / (pi / 2) * std::sin(pi / 6) / (pi / 6);
    EXPECT_NEAR(TContext(Record("Lanczos"), 3)(0.5), lanczos, 1e-15);
    // Keys' cubic at 0.5: 1 - (a + 3) / 4 + (a + 2) / 8.
    EXPECT_NEAR(TContext(Record("Bicubic"), 50)(0.5), 0.5625, 1e-15);
    EXPECT_NEAR(TContext(Record("Bicubic"), 100)(0.5), 0.625, 1e-15);
    EXPECT_NEAR(TContext(Record("Bicubic"), 0)(0.5), 0.5, 1e-15);
    EXPECT_NEAR(TContext(Record("Bicubic"), 50)(1.5), -0.0625, 1e-15);
    EXPECT_EQ(TContext(Record("Bicubic"), 0)(1.5), 0);
    EXPECT_EQ(TContext(Record("Bilinear"), 0)(0.25), 0.75);
}

// Morvane widens the 16-bit value without sign; a settings file may hold
// anything. Every value is taken into the record's parameter range.
TEST_F(WindowFuncs, ParametersAreClampedNeverFault) {
    const int32_t values[] = {65535,
                              0,
                              9,
                              32767,
                              32768,
                              65536,
                              -1,
                              -32768,
                              70000,
                              3,
                              65534,
                              std::numeric_limits<int32_t>::max(),
                              std::numeric_limits<int32_t>::min()};
    for (int32_t i = 0; FLib.At(i); ++i) {
        const WindowFuncPluginInfo *info = FLib.At(i);
        for (int32_t v : values) {
            SCOPED_TRACE(testing::Message() << info->name << " " << v);
            TContext w(info, v);
            EXPECT_GE(w.Radius(), 1);
            EXPECT_LE(w.Radius(), 8);
            for (double x : {0.0, 0.5, -1.25, 7.9, 100.0, std::nan("")})
                EXPECT_TRUE(std::isfinite(w(x))) << "at " << x;
        }
    }
    const WindowFuncPluginInfo *lanczos = Record("Lanczos");
    EXPECT_EQ(TContext(lanczos, 9).Radius(), 8);
    EXPECT_EQ(TContext(lanczos, 32767).Radius(), 8);
    EXPECT_EQ(TContext(lanczos, 0).Radius(), 1);
    EXPECT_EQ(TContext(lanczos, 65535).Radius(), 1);  // -1
    EXPECT_EQ(TContext(lanczos, 65534).Radius(), 1);  // -2
    EXPECT_EQ(TContext(lanczos, 5).Radius(), 5);
    const WindowFuncPluginInfo *bicubic = Record("Bicubic");
    EXPECT_EQ(TContext(bicubic, 65535)(1.5), 0);     // -1 taken as 0: a = 0
    EXPECT_EQ(TContext(bicubic, 1000)(0.5), 0.625);  // as 100: a = -1
    // Contexts that did not come from the record still give a valid radius.
    for (void *foreign : {static_cast<void *>(nullptr), reinterpret_cast<void *>(~uintptr_t(0))}) {
        const int32_t r = lanczos->GetRadius(foreign);
        EXPECT_GE(r, 1);
        EXPECT_LE(r, 8);
        EXPECT_TRUE(std::isfinite(lanczos->Weight(0.5, foreign)));
        EXPECT_TRUE(std::isfinite(bicubic->Weight(0.5, foreign)));
    }
}

}  // namespace
