// The linear-light tables follow the filter's active switch.
#include <gtest/gtest.h>

#include "host/PluginMain.h"

namespace {

BOOL Active = TRUE;
BOOL MV_CDECL IsActive(FILTER *) { return Active; }

// Whatever the test's outcome, the filter is left without tables and
// driver for the tests after it.
class Activation : public ::testing::Test {
protected:
    void TearDown() override {
        FilterState.GammaTables.FreeGammaTables();
        FilterState.ResizeDriver.reset();
    }
};

TEST_F(Activation, SwitchingOffFreesTheTablesStayingOnKeepsThem) {
    EXPECT_EQ(func_init(nullptr), TRUE);
    EXFUNC exfunc{};
    exfunc.is_filter_active = IsActive;
    FILTER fp{};
    fp.exfunc = &exfunc;
    FILTER_PROC_INFO frame{};  // no weight builder yet: the frame passes
    frame.w = frame.h = frame.max_w = frame.max_h = 8;
    EXPECT_EQ(func_proc(&fp, &frame), TRUE);
    const TGammaTables &tables = FilterState.GammaTables;
    ASSERT_NE(tables.GammaToLinear(), nullptr);
    const float *built = tables.GammaToLinear();

    Active = TRUE;
    EXPECT_EQ(func_WndProc(nullptr, WM_FILTER_CHANGE_ACTIVE, 0, 0, nullptr, &fp), FALSE);
    EXPECT_EQ(tables.GammaToLinear(), built);
    Active = FALSE;
    EXPECT_EQ(func_WndProc(nullptr, WM_FILTER_CHANGE_ACTIVE, 0, 0, nullptr, &fp), FALSE);
    EXPECT_EQ(tables.GammaToLinear(), nullptr);
    EXPECT_EQ(tables.LinearToGamma(), nullptr);
    EXPECT_EQ(func_proc(&fp, &frame), TRUE);
    EXPECT_NE(tables.GammaToLinear(), nullptr);
    EXPECT_EQ(func_WndProc(nullptr, WM_FILTER_INIT, 0, 0, nullptr, &fp), FALSE);
    Active = TRUE;
    EXPECT_EQ(func_WndProc(nullptr, WM_FILTER_INIT, 0, 0, nullptr, &fp), TRUE);
    EXPECT_EQ(func_WndProc(nullptr, 0x1234, 0, 0, nullptr, &fp), FALSE);
}

}  // namespace
