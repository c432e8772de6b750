// The comma text of the settings file's values: splitting, joining and whole integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CommaText.h"

using Fields = std::vector<std::string>;

namespace {

TEST(CommaText, SplitsLikeTheSettingsFileExpects) {
    EXPECT_EQ(SplitCommaText("1,3,0"), (Fields{"1", "3", "0"}));
    EXPECT_EQ(SplitCommaText("1 3 0"), (Fields{"1", "3", "0"}));
    EXPECT_EQ(SplitCommaText("1,3,"), (Fields{"1", "3", ""}));
    EXPECT_EQ(SplitCommaText("  1 ,\t3 , 0  "), (Fields{"1", "3", "0"}));
    // Bytes 1 to 32 are blanks; NUL and DEL are not.
    EXPECT_EQ(SplitCommaText(std::string("\x01"
                                         "a\0b\x7f\x1a",
                                         6)),
              (Fields{std::string("a\0b\x7f", 4)}));
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

}  // namespace
