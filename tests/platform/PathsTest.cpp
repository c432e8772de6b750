#include <gtest/gtest.h>

#include "platform/Paths.h"

using namespace platform;

namespace {

// Spells a path with this system's delimiter: Join({"a", "b"}) is "a/b" or "a\b".
std::string Join(std::initializer_list<const char *> parts) {
    std::string path;
    std::size_t index = 0;
    for (const char *part : parts) {
        if (index++ > 0) path += PathDelimiter();
        path += part;
    }
    return path;
}

}  // namespace

TEST(Paths, TrailingDelimiterAddedOnce) {
    const std::string folder = Join({"plug", "DLL"});
    EXPECT_EQ(IncludeTrailingDelimiter(folder), folder + PathDelimiter());
    EXPECT_EQ(IncludeTrailingDelimiter(folder + PathDelimiter()), folder + PathDelimiter());
}

TEST(Paths, FolderAndBaseNameOfAPluginPath) {
    const std::string path = Join({"", "host", "plugins", "Morvane.copy.auf"});
    EXPECT_EQ(ExtractFileDir(path), Join({"", "host", "plugins", ""}));
    EXPECT_EQ(ExtractBaseName(path), "Morvane.copy");
    EXPECT_EQ(ExtractBaseName("Morvane"), "Morvane");
    EXPECT_EQ(ExtractFileDir("Morvane.auf"), "");
}

#ifdef _WIN32
TEST(Paths, WindowsAcceptsBothDelimiters) {
    EXPECT_EQ(ExtractFileDir("C:/host\\plugins/Morvane.auf"), "C:/host\\plugins/");
    EXPECT_EQ(IncludeTrailingDelimiter("C:/host/"), "C:/host/");
}
#endif
