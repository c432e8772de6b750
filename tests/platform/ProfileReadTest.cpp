#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "tests/support/TestPaths.h"

using testing_support::TempDir;

namespace {

const char *const Absent = "<absent>";

std::string Read(const std::string &file, const std::string &section, const std::string &key,
                 std::size_t bufferSize = 2048, const std::string &fallback = Absent) {
    return platform::ReadIniString(file, section, key, fallback, bufferSize);
}

}  // namespace

TEST(ProfileRead, KeysOfSeveralSections) {
    TempDir dir;
    const std::string file = dir.Write("s.ini",
                                       "top=before any section\r\n"
                                       "[First]\r\nname=one\r\ncount=2\r\n"
                                       "[Second]\r\nname=two\r\nname=duplicate\r\n");
    EXPECT_EQ(Read(file, "First", "name"), "one");
    EXPECT_EQ(Read(file, "First", "count"), "2");
    EXPECT_EQ(Read(file, "Second", "name"), "two") << "the first of two equal keys";
    EXPECT_EQ(Read(file, "Second", "count"), Absent);
    EXPECT_EQ(Read(file, "Third", "name"), Absent);
    EXPECT_EQ(Read(file, "First", "top"), Absent);
}

TEST(ProfileRead, CrlfAndLfLineEndsReadAlike) {
    for (const std::string end : {"\r\n", "\n"}) {
        TempDir dir;
        const std::string file =
            dir.Write("e.ini", "[A]" + end + "x=1" + end + "y=2" + end + "[B]" + end + "z=last");
        EXPECT_EQ(Read(file, "A", "x"), "1");
        EXPECT_EQ(Read(file, "A", "y"), "2");
        EXPECT_EQ(Read(file, "B", "z"), "last") << "unterminated last line";
    }
}

TEST(ProfileRead, NamesIgnoreLetterCase) {
    TempDir dir;
    const std::string file = dir.Write("c.ini", "[MorVane]\r\nFilterName=shown\r\n");
    EXPECT_EQ(Read(file, "morvane", "FILTERNAME"), "shown");
    EXPECT_EQ(Read(file, "MORVANE", "filtername"), "shown");
    EXPECT_EQ(Read(file, "Morvane2", "FilterName"), Absent);
}

TEST(ProfileRead, BlanksAroundNamesAndValuesAreDropped) {
    TempDir dir;
    const std::string file = dir.Write("b.ini",
                                       "  [S]  \r\n"
                                       "  spaced  =  two words  \t\r\n"
                                       "\ttabbed\t=\tvalue\t\r\n");
    EXPECT_EQ(Read(file, "S", "spaced"), "two words");
    EXPECT_EQ(Read(file, " S ", "  spaced "), "two words");
    EXPECT_EQ(Read(file, "S", "tabbed"), "value");
}

TEST(ProfileRead, OnePairOfEnclosingQuotesIsRemoved) {
    TempDir dir;
    const std::string file = dir.Write("q.ini",
                                       "[Q]\r\n"
                                       "double=\" padded \"\r\n"
                                       "single='x,y'\r\n"
                                       "nested=\"'inner'\"\r\n"
                                       "empty=\"\"\r\n"
                                       "open=\"unbalanced\r\n"
                                       "mixed=\"mixed'\r\n"
                                       "inside=a \"b\" c\r\n");
    EXPECT_EQ(Read(file, "Q", "double"), " padded ");
    EXPECT_EQ(Read(file, "Q", "single"), "x,y");
    EXPECT_EQ(Read(file, "Q", "nested"), "'inner'");
    EXPECT_EQ(Read(file, "Q", "empty"), "");
    EXPECT_EQ(Read(file, "Q", "open"), "\"unbalanced");
    EXPECT_EQ(Read(file, "Q", "mixed"), "\"mixed'");
    EXPECT_EQ(Read(file, "Q", "inside"), "a \"b\" c");
}

TEST(ProfileRead, EmptyValueIsNotAnAbsentKey) {
    TempDir dir;
    const std::string file = dir.Write("v.ini", "[S]\r\nPluginDir=\r\nFilterName=   \r\n");
    EXPECT_EQ(Read(file, "S", "PluginDir"), "");
    EXPECT_EQ(Read(file, "S", "FilterName"), "");
    EXPECT_EQ(Read(file, "S", "SizeList"), Absent);
    EXPECT_EQ(Read(file, "S", "SizeList", 2048, "512x384"), "512x384");
}

TEST(ProfileRead, ValuesAndDefaultsAreCutToTheBuffer) {
    TempDir dir;
    std::string longValue;
    for (int i = 0; i < 3000; ++i) longValue += char('a' + i % 26);
    const std::string file = dir.Write("l.ini", "[S]\r\nlong=" + longValue + "\r\nshort=abc\r\n");
    EXPECT_EQ(Read(file, "S", "long"), longValue.substr(0, 2047));
    EXPECT_EQ(Read(file, "S", "short", 4), "abc");
    EXPECT_EQ(Read(file, "S", "short", 3), "ab");
    EXPECT_EQ(Read(file, "S", "short", 1), "");
    EXPECT_EQ(Read(file, "S", "none", 4, "defaults"), "def");
}

TEST(ProfileRead, DefaultLosesTrailingBlanks) {
    TempDir dir;
    EXPECT_EQ(Read(dir.Path() + "none.ini", "S", "k", 2048, "DLL  "), "DLL");
    EXPECT_EQ(Read(dir.Path() + "none.ini", "S", "k", 2048, "  DLL"), "  DLL");
}

TEST(ProfileRead, MissingFileOrFolderGivesTheDefault) {
    TempDir dir;
    EXPECT_EQ(Read(dir.Path() + "Morvane.ini", "Morvane", "PluginDir", 2048, "DLL"), "DLL");
    const std::string noFolder = dir.Path() + "no folder/Morvane.ini";
    EXPECT_EQ(Read(noFolder, "Morvane", "PluginDir", 2048, "DLL"), "DLL");
    // A folder where the file should be.
    EXPECT_EQ(Read(dir.Path(), "Morvane", "PluginDir", 2048, "DLL"), "DLL");
}
