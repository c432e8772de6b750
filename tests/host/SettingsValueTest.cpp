// Reading the settings file's values: comma text and "Func_" entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CommaText.h"
#include "host/Settings.h"

using Fields = std::vector<std::string>;

namespace {

TEST(CommaText, SplitsLikeTheSettingsFileExpects) {
    EXPECT_EQ(SplitCommaText("1,3,0"), (Fields{"1", "3", "0"}));
    EXPECT_EQ(SplitCommaText("1 3 0"), (Fields{"1", "3", "0"}));
    EXPECT_EQ(SplitCommaText("1,3,"), (Fields{"1", "3", ""}));
    EXPECT_EQ(SplitCommaText("  1 ,\t3 , 0  "), (Fields{"1", "3", "0"}));
    // Bytes 1 to 32 are blanks; NUL and DEL are not.
    EXPECT_EQ(SplitCommaText(std::string("\x01" "a\0b\x7f\x1a", 6)), (Fields{std::string("a\0b\x7f", 4)}));
    EXPECT_EQ(SplitCommaText(""), Fields{});
    EXPECT_EQ(SplitCommaText("   "), Fields{});
    EXPECT_EQ(SplitCommaText(",,"), (Fields{"", "", ""}));
    EXPECT_EQ(SplitCommaText("\"a b\",\"say \"\"hi\"\"\",c"), (Fields{"a b", "say \"hi\"", "c"}));
    EXPECT_EQ(SplitCommaText("512x384,1280x720"), (Fields{"512x384", "1280x720"}));
}

TEST(CommaText, JoinRoundTrips) {
    for (const Fields &f : {Fields{"512x384", "1280x720"}, Fields{"a b", "", "q\"q", "x,y"},
                            Fields{"only"}, Fields{""}}) {
        EXPECT_EQ(SplitCommaText(JoinCommaText(f)), f) << JoinCommaText(f);
    }
    EXPECT_EQ(JoinCommaText({"512x384", "1280x720"}), "512x384,1280x720");
    // Quoted exactly when a blank, control character, comma or quote is held.
    EXPECT_EQ(JoinCommaText({"a b", "", "q\"q", "x,y", "t\tt", "\x7f", "\x83\x8b"}),
              "\"a b\",,\"q\"\"q\",\"x,y\",\"t\tt\",\"\x7f\",\x83\x8b");
}

TEST(CommaText, IntegersAreWholeDecimalFields) {
    int32_t v = 0;
    EXPECT_TRUE(ParseInt32("70000", v));
    EXPECT_EQ(v, 70000);
    EXPECT_TRUE(ParseInt32("-5", v));
    EXPECT_EQ(v, -5);
    EXPECT_TRUE(ParseInt32("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    for (const char *bad : {"", "x", "1x", "3.5", "-", "2147483648", "99999999999"})
        EXPECT_FALSE(ParseInt32(bad, v)) << bad;
}

TEST(FuncSetting, OnlyThreeFieldsCount) {
    struct Case {
        const char *value;
        bool enabled;
        int16_t param;
    } cases[] = {
        {"0,3,0", false, 3}, {"1,3,0", true, 3},     {"1 3 0", true, 3},
        {"1,3,", true, 3},   {"x,3,0", true, 3},     {"1,y,0", true, 7},
        {"1,70000,0", true, 4464}, {"", true, 7},    {"1,3", true, 7},
        {"1,3,0,0", true, 7}, {"2,3,0", false, 3},  {"1,-2,0", true, -2},
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
        const settings::TFuncSetting s = settings::ParseFuncSetting(settings::FormatFuncSetting(p), 1);
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
