// A file written whole: the target changes in one step at Commit, and nothing
// of the new file is left when it is not committed.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/FileReplacement.h"
#include "tests/platform/PlatformTestFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using platform::TFileReplacement;
using testing_support::FolderEntries;
using testing_support::ReadFile;
using testing_support::TempDir;

TEST(FileReplacement, TargetChangesOnlyAtCommit) {
    TempDir dir;
    const std::string target = dir.Write("out.ppm", "old contents");
#ifndef _WIN32
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
#endif
    {
        TFileReplacement abandoned(target);
        ASSERT_TRUE(abandoned.IsOpen());
        ASSERT_TRUE(abandoned.Write("new", 3) && abandoned.Flush());
        EXPECT_EQ(FolderEntries(dir.Path()).size(), 2u);  // the new file lies beside it
        EXPECT_EQ(ReadFile(target), "old contents");
    }
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"out.ppm"});
    EXPECT_EQ(ReadFile(target), "old contents");

    TFileReplacement file(target);
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(file.Error(), 0);
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"out.ppm"});
#ifndef _WIN32
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
}

TEST(FileReplacement, MissingFolderIsReportedAndLeavesNothing) {
    TempDir dir;
    TFileReplacement file(dir.Path() + "absent/out.ppm");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Error(), ENOENT);
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}
