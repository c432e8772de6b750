#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Library.h"
#include "platform/Paths.h"
#include "tests/platform/PlatformTestFiles.h"

using platform::ListLibraries;
using testing_support::TempDir;

namespace {

using Names = std::vector<std::string>;

// The order is the file system's; the cases compare sets.
Names SortedLibraries(const std::string &folder) {
    Names names = ListLibraries(folder);
    std::sort(names.begin(), names.end());
    return names;
}

// The folder as a caller may spell it: without its trailing delimiter.
std::string WithoutDelimiter(const TempDir &dir) {
    const std::string &path = dir.Path();
    return path.substr(0, path.size() - 1);
}

}  // namespace

TEST(ListLibraries, ListsPlainFilesEndingInDllInAnyCase) {
    TempDir dir;
    for (const char *name :
         {"a.dll", "B.DLL", "c.Dll", "notes.txt", "a.dll.txt", "e.dllx", "dll", "fdll"})
        dir.Write(name, "");
    platform_tests::CreateFolder(dir.Path() + "folder.dll");

    EXPECT_EQ(SortedLibraries(dir.Path()), (Names{"B.DLL", "a.dll", "c.Dll"}));
}

TEST(ListLibraries, PassesOverHiddenAndSystemFiles) {
    TempDir dir;
    dir.Write("shown.dll", "");
    const std::string hidden = platform_tests::CreateHiddenLibraryFile(dir);
    const std::string system = platform_tests::CreateSystemLibraryFile(dir);

    const Names names = SortedLibraries(dir.Path());
    EXPECT_EQ(names, Names{"shown.dll"});
    // The set-up really made the files the listing had to pass over.
    const Names present = testing_support::FolderEntries(dir.Path());
    EXPECT_NE(std::find(present.begin(), present.end(), hidden), present.end());
    if (!system.empty()) {
        EXPECT_NE(std::find(present.begin(), present.end(), system), present.end());
    }
}

TEST(ListLibraries, TrailingDelimiterMakesNoDifference) {
    TempDir dir;
    dir.Write("one.dll", "");
    dir.Write("two.dll", "");

    EXPECT_EQ(SortedLibraries(dir.Path()), (Names{"one.dll", "two.dll"}));
    EXPECT_EQ(SortedLibraries(WithoutDelimiter(dir)), (Names{"one.dll", "two.dll"}));
}

TEST(ListLibraries, EmptyOrMissingFolderGivesEmptyList) {
    TempDir dir;
    dir.Write("readme.txt", "");
    EXPECT_TRUE(ListLibraries(dir.Path()).empty());

    const std::string missing = dir.Path() + "missing";
    EXPECT_TRUE(ListLibraries(missing).empty());
    EXPECT_TRUE(ListLibraries(platform::IncludeTrailingDelimiter(missing)).empty());
}

TEST(ListLibraries, AFileNamedAsTheFolderGivesEmptyList) {
    TempDir dir;
    const std::string file = dir.Write("plugins.dll", "");
    EXPECT_TRUE(ListLibraries(file).empty());
}
