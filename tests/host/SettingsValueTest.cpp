// Reading the settings file's values: "Func_" entries and where the file lies.
#include <gtest/gtest.h>

#include "host/Settings.h"

namespace {

TEST(FuncSetting, OnlyThreeFieldsCount) {
    struct Case {
        const char *value;
        bool enabled;
        int16_t param;
    } cases[] = {
        {"0,3,0", false, 3}, {"1,3,0", true, 3},   {"1 3 0", true, 3},        {"1,3,", true, 3},
        {"x,3,0", true, 3},  {"1,y,0", true, 7},   {"1,70000,0", true, 4464}, {"", true, 7},
        {"1,3", true, 7},    {"1,3,0,0", true, 7}, {"2,3,0", false, 3},       {"1,-2,0", true, -2},
    };
    for (const Case &c : cases) {
        const settings::TFuncSetting s = settings::ParseFuncSetting(c.value, 7);
        EXPECT_EQ(s.enabled, c.enabled) << c.value;
        if (s.enabled) {
            EXPECT_EQ(s.param, c.param) << c.value;
        }
    }
}

TEST(FuncSetting, WrittenValueReadsBack) {
    for (int16_t p : {int16_t(0), int16_t(3), int16_t(-7), int16_t(32767)}) {
        const settings::TFuncSetting s =
            settings::ParseFuncSetting(settings::FormatFuncSetting(p), 1);
        EXPECT_TRUE(s.enabled);
        EXPECT_EQ(s.param, p);
    }
}

TEST(SettingsFile, BesideThePluginSectionAfterItsName) {
#ifdef _WIN32
    const auto f = settings::SettingsFileFor("C:\\editor\\plugins\\Morvane.auf");
    EXPECT_EQ(f.path, "C:\\editor\\plugins\\Morvane.ini");
#else
    const auto f = settings::SettingsFileFor("/editor/plugins/Morvane.auf");
    EXPECT_EQ(f.path, "/editor/plugins/Morvane.ini");
#endif
    EXPECT_EQ(f.section, "Morvane");
    EXPECT_EQ(settings::DefaultFilterName("Morvane"),
              "\x83\x82\x83\x8b\x83\x94\x83\x40\x81\x5b\x83\x93");
    EXPECT_EQ(settings::DefaultFilterName("MorvaneCopy"), "MorvaneCopy");
    EXPECT_EQ(settings::DefaultFilterName("morvane"), "morvane");
}

}  // namespace
