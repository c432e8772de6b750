// What the POSIX settings writer promises beyond Windows' behaviour: untouched
// lines keep their exact bytes, and the file is replaced atomically.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Profile.h"
#include "tests/platform/PlatformTestFiles.h"

using platform::WriteIniString;
using testing_support::ReadFile;
using testing_support::TempDir;

TEST(ProfilePosix, UntouchedLinesKeepTheirBytes) {
    TempDir dir;
    const std::string before =
        "# hand-edited\n"
        "[Morvane]\n"
        "  FilterName =  old  \n"
        "\n"
        "SizeList = 512x384 , 640x480\r\n"
        "\n"
        "[Next]\n"
        "x=1";
    const std::string file = dir.Write("Morvane.ini", before);
    ASSERT_TRUE(WriteIniString(file, "Morvane", "FilterName", "new"));
    ASSERT_TRUE(WriteIniString(file, "Morvane", "PluginDir", "DLL"));
    ASSERT_TRUE(WriteIniString(file, "Third", "k", "v"));
    EXPECT_EQ(ReadFile(file),
              "# hand-edited\n"
              "[Morvane]\n"
              "FilterName=new\n"
              "\n"
              "SizeList = 512x384 , 640x480\r\n"
              "PluginDir=DLL\n"
              "\n"
              "[Next]\n"
              "x=1\n"
              "[Third]\n"
              "k=v\n");
}

TEST(ProfilePosix, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string file = dir.Write("Morvane.ini", "[S]\nk=1\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteIniString(file, "S", "k", "2"));
    struct stat info;
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(testing_support::FolderEntries(dir.Path()), std::vector<std::string>{"Morvane.ini"});
}

TEST(ProfilePosix, SameValueLeavesTheFileUntouched) {
    TempDir dir;
    const std::string file = dir.Write("Morvane.ini", "[S]\nk = 1\n");
    struct stat before, after;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    ASSERT_TRUE(WriteIniString(file, "S", "k", "1"));
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadFile(file), "[S]\nk = 1\n");
}

TEST(ProfilePosix, SomethingThatIsNoFileIsNeitherReadNorReplaced) {
    TempDir dir;
    const std::string fifo = dir.Path() + "Morvane.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer forever.
    EXPECT_EQ(platform::ReadIniString(fifo, "S", "k", "dflt", 2048), "dflt");
    EXPECT_FALSE(WriteIniString(fifo, "S", "k", "v"));
    struct stat info;
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// A run writes back only what it changed since it read the key, so another
// run's newer value survives; a key the reader could never find is not written.
TEST(ProfilePosix, OnlyKeysThisProcessChangedAreWrittenBack) {
    TempDir dir;
    const std::string file = dir.Write("Morvane.ini", "[S]\nmine=1\ntheirs=1\nfresh=1\n");
    platform::TIniReads reads;
    ASSERT_EQ(platform::ReadIniString(file, "S", "mine", "", 2048, reads), "1");
    ASSERT_EQ(platform::ReadIniString(file, "S", "theirs", "", 2048, reads), "1");
    ASSERT_EQ(platform::ReadIniString(file, "S", "absent", "dflt", 2048, reads), "dflt");
    platform::TIniReads otherRun;
    ASSERT_EQ(platform::ReadIniString(file, "S", "fresh", "", 2048, otherRun), "1");
    // another process meanwhile
    dir.Write("Morvane.ini", "[S]\nmine=1\ntheirs=2\nabsent=other\nfresh=2\n");
    EXPECT_TRUE(WriteIniString(file, "S", "mine", "3", reads));
    EXPECT_TRUE(WriteIniString(file, "S", "theirs", "1", reads));
    EXPECT_TRUE(WriteIniString(file, "S", "absent", "dflt", reads));
    // Only what this run read counts: it never read "fresh".
    EXPECT_TRUE(WriteIniString(file, "S", "fresh", "1", reads));
    EXPECT_EQ(ReadFile(file), "[S]\nmine=3\ntheirs=2\nabsent=other\nfresh=1\n");
    for (const char *key : {"Func_a=b", "two\nlines", "[head]"})
        EXPECT_FALSE(WriteIniString(file, "S", key, "1")) << key;
    EXPECT_EQ(ReadFile(file), "[S]\nmine=3\ntheirs=2\nabsent=other\nfresh=1\n");
}

TEST(ProfilePosix, ALinkedFileIsWrittenAtItsTarget) {
    TempDir dir;
    const std::string target = dir.Write("real.ini", "[S]\nk=1\n");
    const std::string link = dir.Path() + "Morvane.ini";
    ASSERT_EQ(symlink("real.ini", link.c_str()), 0);
    ASSERT_TRUE(WriteIniString(link, "S", "k", "2"));
    struct stat info;
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(target), "[S]\nk=2\n");
    const std::string dangling = dir.Path() + "New.ini";
    ASSERT_EQ(symlink("made.ini", dangling.c_str()), 0);
    ASSERT_TRUE(WriteIniString(dangling, "S", "k", "v"));
    EXPECT_EQ(ReadFile(dir.Path() + "made.ini"), "[S]\r\nk=v\r\n");
}
