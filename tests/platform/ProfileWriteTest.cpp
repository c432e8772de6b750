#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/platform/PlatformTestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

using platform::WriteIniString;
using platform_tests::NonBlankLines;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

using Lines = std::vector<std::string>;

std::string Read(const std::string &file, const std::string &section, const std::string &key) {
    return platform::ReadIniString(file, section, key, "<absent>", 2048);
}

// "モルヴァーン" in CP932, the host's code page.
const std::string Katakana = "\x83\x82\x83\x8B\x83\x94\x83\x40\x81\x5B\x83\x93";

}  // namespace

TEST(ProfileWrite, CreatesFileAndSectionsThatReadBack) {
    TempDir dir;
    const std::string file = dir.Path() + "Morvane.ini";
    ASSERT_TRUE(WriteIniString(file, "Morvane", "FilterName", "Resize"));
    ASSERT_TRUE(WriteIniString(file, "Morvane", "PluginDir", "DLL"));
    ASSERT_TRUE(WriteIniString(file, "Morvane", "Func_Lanczos3", "1,3"));
    ASSERT_TRUE(WriteIniString(file, "Copy", "FilterName", "Other"));
    ASSERT_TRUE(WriteIniString(file, "Morvane", "SizeList", "512x384,640x480"));

    EXPECT_EQ(Read(file, "Morvane", "FilterName"), "Resize");
    EXPECT_EQ(Read(file, "Morvane", "PluginDir"), "DLL");
    EXPECT_EQ(Read(file, "Morvane", "Func_Lanczos3"), "1,3");
    EXPECT_EQ(Read(file, "Morvane", "SizeList"), "512x384,640x480");
    EXPECT_EQ(Read(file, "Copy", "FilterName"), "Other");
    // New keys join their own section; a new section goes to the end.
    EXPECT_EQ(NonBlankLines(ReadFile(file)),
              (Lines{"[Morvane]", "FilterName=Resize", "PluginDir=DLL", "Func_Lanczos3=1,3",
                     "SizeList=512x384,640x480", "[Copy]", "FilterName=Other"}));
    EXPECT_EQ(testing_support::FolderEntries(dir.Path()), Lines{"Morvane.ini"});
}

TEST(ProfileWrite, RewritingOneKeyKeepsEveryOtherLine) {
    TempDir dir;
    const std::string before =
        ";Morvane settings\r\n"
        "[Morvane]\r\n"
        "FilterName=old\r\n"
        ";kept comment\r\n"
        "PluginDir=DLL\r\n"
        "[Other]\r\n"
        "FilterName=other\r\n";
    const std::string file = dir.Write("Morvane.ini", before);
    ASSERT_TRUE(WriteIniString(file, "Morvane", "FilterName", "new"));

    std::string after = before;
    after.replace(after.find("FilterName=old"), 14, "FilterName=new");
    EXPECT_EQ(ReadFile(file), after);
}

TEST(ProfileWrite, KeyAddedToAnEarlierSectionStaysInIt) {
    for (const std::string end : {"\r\n", "\n"}) {
        TempDir dir;
        const std::string file =
            dir.Write("a.ini", "[A]" + end + "a=1" + end + "[B]" + end + "b=1");
        ASSERT_TRUE(WriteIniString(file, "A", "added", "2"));
        ASSERT_TRUE(WriteIniString(file, "B", "more", "3"));
        EXPECT_EQ(NonBlankLines(ReadFile(file)),
                  (Lines{"[A]", "a=1", "added=2", "[B]", "b=1", "more=3"}));
        EXPECT_EQ(Read(file, "B", "added"), "<absent>");
    }
}

TEST(ProfileWrite, NamesMatchWithoutRegardToCase) {
    TempDir dir;
    const std::string file = dir.Write("c.ini", "[Morvane]\r\nFilterName=x\r\n");
    ASSERT_TRUE(WriteIniString(file, "MORVANE", "filtername", "y"));
    EXPECT_EQ(NonBlankLines(ReadFile(file)), (Lines{"[Morvane]", "FilterName=y"}));
}

TEST(ProfileWrite, EmptyAndQuotedValuesReadBackAsWindowsReadsThem) {
    TempDir dir;
    const std::string file = dir.Path() + "v.ini";
    ASSERT_TRUE(WriteIniString(file, "S", "empty", ""));
    ASSERT_TRUE(WriteIniString(file, "S", "quoted", "\"a, b\""));
    ASSERT_TRUE(WriteIniString(file, "S", "padded", "  lead and trail  "));
    EXPECT_EQ(Read(file, "S", "empty"), "");
    EXPECT_EQ(Read(file, "S", "quoted"), "a, b");
    EXPECT_EQ(Read(file, "S", "padded"), "lead and trail");
}

TEST(ProfileWrite, Cp932TextPassesThroughUnchanged) {
    TempDir dir;
    const std::string file = dir.Path() + "j.ini";
    ASSERT_TRUE(WriteIniString(file, Katakana, "FilterName", Katakana + "2"));
    EXPECT_EQ(Read(file, Katakana, "FilterName"), Katakana + "2");
    EXPECT_NE(ReadFile(file).find("[" + Katakana + "]"), std::string::npos);
    EXPECT_NE(ReadFile(file).find("FilterName=" + Katakana + "2"), std::string::npos);
}

// "ア" is 83 41 and "ヂ" 83 61: their second bytes differ only as ASCII case would.
TEST(ProfileWrite, Cp932NamesDifferingInASecondByteStayApart) {
#ifdef _WIN32
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese ANSI code page; this one is " << GetACP();
#endif
    TempDir dir;
    const std::string file = dir.Path() + "k.ini";
    ASSERT_TRUE(WriteIniString(file, "\x83\x41", "k", "a"));
    ASSERT_TRUE(WriteIniString(file, "\x83\x61", "k", "di"));
    EXPECT_EQ(Read(file, "\x83\x41", "k"), "a");
    EXPECT_EQ(Read(file, "\x83\x61", "k"), "di");
}

TEST(ProfileWrite, ReadOnlyFileIsLeftAlone) {
    TempDir dir;
    const std::string file = dir.Write("Morvane.ini", "[Morvane]\r\nFilterName=kept\r\n");
    const bool enforced = platform_tests::SetReadOnly(file, true);
    if (enforced) {
        EXPECT_FALSE(WriteIniString(file, "Morvane", "FilterName", "changed"));
        EXPECT_EQ(Read(file, "Morvane", "FilterName"), "kept");
    }
    platform_tests::SetReadOnly(file, false);
    if (!enforced) GTEST_SKIP() << "this user may write to read-only files";
}

TEST(ProfileWrite, UnwritablePlaceFailsAndLeavesNothingBehind) {
    TempDir dir;
    const std::string missingFolder = dir.Path() + "missing" + platform::PathDelimiter();
    EXPECT_FALSE(WriteIniString(missingFolder + "Morvane.ini", "Morvane", "k", "v"));

    // A folder where the settings file should be.
    const std::string folder = dir.Path() + "Morvane.ini";
    platform_tests::CreateFolder(folder);
    EXPECT_FALSE(WriteIniString(folder, "Morvane", "k", "v"));
    EXPECT_TRUE(testing_support::FolderEntries(folder).empty());
    EXPECT_EQ(testing_support::FolderEntries(dir.Path()), Lines{"Morvane.ini"});
}
