// The reference model's HQ steps checked on their own: the sigmoidal curve
// against the formula with the library's exp and log, the log-indexed
// inverse tables (every code reachable, each code's own value coming back
// to it), the nearest pair and the clamp's NaN rule, and whole resizes that
// show what the steps are for (no ringing past the neighbours, dark codes
// kept).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "kernels/common/HqCurve.h"
#include "tests/support/KernelContext.h"
#include "tests/support/ReferenceModel.h"
#include "tests/support/TapTables.h"

namespace {

using namespace reference_model;

TEST(HqReference, SigmoidIsTheCurveOfTheFormula) {
    const double c = 0.75, s = 6.5;
    const double off = 1.0 / (1.0 + std::exp(s * c));
    const double scale = 1.0 / (1.0 + std::exp(s * (c - 1.0))) - off;
    EXPECT_NEAR(kernel_hq_curve::Offset, off, 1e-16);
    EXPECT_NEAR(kernel_hq_curve::Scale, scale, 1e-16);
    double previous = -1.0;
    for (int i = 0; i <= 10000; ++i) {
        const double x = i / 10000.0;
        const double y = kernel_hq_curve::Sigmoid(x);
        const double formula = c - std::log(1.0 / (x * scale + off) - 1.0) / s;
        EXPECT_NEAR(y, std::clamp(formula, 0.0, 1.0), 1e-14) << x;
        EXPECT_GE(y, previous) << x;
        previous = y;
    }
    EXPECT_EQ(kernel_hq_curve::Sigmoid(0.0), 0.0);
    EXPECT_EQ(kernel_hq_curve::Sigmoid(1.0), 1.0);
    EXPECT_EQ(kernel_hq_curve::Sigmoid(-3.0), 0.0);
    EXPECT_EQ(kernel_hq_curve::Sigmoid(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(kernel_hq_curve::Sigmoid(INFINITY), 1.0);
}

// In both lights every code 0..4096 has log indices of its own, and each
// code's own forward value comes back to it.
TEST(HqReference, EveryCodeIsReachableAndComesBack) {
    const float *toLinear = testing_support::SharedGammaTables().GammaToLinear();
    for (bool sigmoid : {false, true}) {
        SCOPED_TRACE(sigmoid ? "sigmoidal light" : "linear light");
        const HqTables t = HqTablesFor(toLinear, sigmoid);
        ASSERT_EQ(t.forward.size(), 4097u);
        ASSERT_EQ(t.inverse.size(), 65536u);
        std::vector<bool> seen(4097, false);
        for (int16_t code : t.inverse) seen[size_t(code)] = true;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0);
        for (int16_t c = 0; c <= 4096; ++c)
            ASSERT_EQ(CodeOfLogIndex(t.forward[size_t(c)], t.inverse.data()), c);
        EXPECT_TRUE(std::is_sorted(t.inverse.begin(), t.inverse.end()));
        EXPECT_TRUE(std::is_sorted(t.forward.begin(), t.forward.end()));
        EXPECT_EQ(t.forward[0], 0.0f);
        EXPECT_EQ(t.forward[4096], 65535.0f);
    }
    // The handed inverse table loses code 1 and more: intensity 1 is code 26.
    EXPECT_EQ(testing_support::SharedGammaTables().LinearToGamma()[1], 26);
}

TEST(HqReference, LogIndicesStayInsideTheTable) {
    EXPECT_EQ(LogIndexOf(0.0f), 0);
    EXPECT_EQ(LogIndexOf(-1.0f), 0);
    EXPECT_EQ(LogIndexOf(std::numeric_limits<float>::quiet_NaN()), 0);
    // 1 + v = 2: the second octave's first step.
    EXPECT_EQ(LogIndexOf(1.0f), 4096);
    // 4096 steps per octave: 1 + v = 1.5 is half way through the first.
    EXPECT_EQ(LogIndexOf(0.5f), 2048);
    EXPECT_EQ(LogIndexOf(65534.0f), 65535);
    EXPECT_EQ(LogIndexOf(65535.0f), 65535);
    EXPECT_EQ(LogIndexOf(1e30f), 65535);
    EXPECT_EQ(LogIndexOf(INFINITY), 65535);
    // Code 1 of gamma 2.2 (0.00074) lands on index 3.
    EXPECT_EQ(LogIndexOf(testing_support::SharedGammaTables().GammaToLinear()[1]), 3);
}

TEST(HqReference, NearestPairLiesEitherSideOfTheCentre) {
    struct Case {
        int32_t out, src, dst, first, last, a, b;
    } const cases[] = {
        // 2 → 8: output 0's centre is -0.375, output 3's 0.375, output 7's 1.375.
        {0, 2, 8, 0, 1, 0, 0},
        {3, 2, 8, 0, 1, 0, 1},
        {7, 2, 8, 0, 1, 1, 1},
        // 10 → 40, output 21: centre (21.5 × 10 / 40) − 0.5 = 4.875.
        {21, 10, 40, 2, 8, 4, 5},
        // Kept within the taps: an entry of taps 5..7 only.
        {21, 10, 40, 5, 7, 5, 5},
    };
    for (const Case &c : cases) {
        int32_t a, b;
        NearestPair(c.out, c.src, c.dst, c.first, c.last, a, b);
        EXPECT_EQ(a, c.a) << c.out << " of " << c.src << " -> " << c.dst;
        EXPECT_EQ(b, c.b) << c.out << " of " << c.src << " -> " << c.dst;
    }
}

TEST(HqReference, ClampFollowsTheProcessorsMinimumAndMaximum) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(ClampBetween(5.0f, 1.0f, 3.0f), 3.0f);
    EXPECT_EQ(ClampBetween(-5.0f, 3.0f, 1.0f), 1.0f);
    EXPECT_EQ(ClampBetween(2.0f, 3.0f, 1.0f), 2.0f);
    // MAXPS and MINPS give their second operand when either is NaN.
    EXPECT_EQ(ClampBetween(nan, 1.0f, 3.0f), 1.0f);
    // A NaN first neighbour: min and max of the pair are both 1.
    EXPECT_EQ(ClampBetween(2.0f, nan, 1.0f), 1.0f);
    // A NaN second neighbour: both are NaN, and so is the result.
    EXPECT_TRUE(std::isnan(ClampBetween(2.0f, 1.0f, nan)));
}

}  // namespace
