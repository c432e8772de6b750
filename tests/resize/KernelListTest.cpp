// Finding kernel plug-ins in a folder, looking them up and unloading them.
#include <gtest/gtest.h>

#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#endif
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "resize/FilterPluginList.h"
#include "resize/PluginSet.h"
#include "tests/support/TestLog.h"
#include "tests/support/TestPaths.h"

using testing_support::TempDir;
using testing_support::TestBinDir;

namespace {

class KernelList : public ::testing::Test {
protected:
    TempDir root;
    std::string folder = root.Path() + "plugins";
    test_log::TLogFile log;
    // Where a test needs no scope of its own; unloaded before the log closes.
    platform::TLibrarySet libraries;

    void SetUp() override { std::filesystem::create_directory(folder); }
    void Install(const std::string &tag) {
        std::filesystem::copy_file(TestBinDir() + tag + ".dll",
                                   platform::IncludeTrailingDelimiter(folder) + tag + ".dll");
    }
    std::vector<std::string> Log() const { return log.Lines(); }
};

TEST_F(KernelList, TakesOnlyLibrariesThatGiveAUsableRecord) {
    const char *const rejected[] = {"kl_null",       "kl_noexport",   "kl_zero_tile",
                                    "kl_no_process", "kl_empty_name", "kl_long_name",
                                    "kl_bad_pitch"};
    for (const char *tag : {"kl_alpha", "kl_beta", "kl_name_32"}) Install(tag);
    for (const char *tag : rejected) Install(tag);
    std::filesystem::create_directory(platform::IncludeTrailingDelimiter(folder) + "x.dll");
    root.Write("plugins/notalib.dll", "this is no library");
    {
        TFilterPluginList list;
        list.LoadFromDir(folder, libraries);
        ASSERT_EQ(list.Count(), 3);
        EXPECT_GE(list.IndexOf("AName32BytesLongIsTheMostItHolds"), 0);
        EXPECT_GE(list.IndexOf("Alpha"), 0);
        EXPECT_GE(list.IndexOf("Beta"), 0);
        EXPECT_EQ(list.IndexOf("Null"), -1);
        // The rejected libraries were loaded once and are gone again.
        const auto log = Log();
        for (const char *tag : rejected) {
            int loads = 0, unloads = 0;
            for (const auto &l : log) {
                loads += l == std::string("load ") + tag;
                unloads += l == std::string("unload ") + tag;
            }
            EXPECT_EQ(loads, 1) << tag;
            EXPECT_EQ(unloads, 1) << tag;
        }
    }
}

TEST_F(KernelList, TrailingDelimiterMakesNoDifference) {
    Install("kl_alpha");
    Install("kl_beta");
    TFilterPluginList without, with;
    without.LoadFromDir(folder, libraries);
    with.LoadFromDir(platform::IncludeTrailingDelimiter(folder), libraries);
    ASSERT_EQ(without.Count(), 2);
    ASSERT_EQ(with.Count(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(without.Items(i), with.Items(i));
}

TEST_F(KernelList, MissingOrEmptyFolderGivesNothing) {
    TFilterPluginList list;
    list.LoadFromDir(root.Path() + "does-not-exist", libraries);
    list.LoadFromDir(folder, libraries);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf("Alpha"), -1);
}

TEST_F(KernelList, HiddenLibrariesArePassedOver) {
#ifdef _WIN32
    Install("kl_alpha");
    const std::string path = platform::IncludeTrailingDelimiter(folder) + "kl_alpha.dll";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
    std::filesystem::copy_file(TestBinDir() + "kl_alpha.dll", folder + "/.kl_alpha.dll");
#endif
    TFilterPluginList list;
    list.LoadFromDir(folder, libraries);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(KernelList, LookupIsWholeNameCaseSensitiveFirstFound) {
    Install("kl_alpha");
    Install("kl_alpha_again");
    Install("kl_beta");
    TFilterPluginList list;
    list.LoadFromDir(folder, libraries);
    ASSERT_EQ(list.Count(), 3);
    int firstAlpha = -1;
    for (int i = 0; i < list.Count() && firstAlpha < 0; ++i)
        if (std::string(list.Items(i)->name) == "Alpha") firstAlpha = i;
    EXPECT_EQ(list.IndexOf("Alpha"), firstAlpha);
    EXPECT_EQ(list.IndexOf("alpha"), -1);
    EXPECT_EQ(list.IndexOf("Alph"), -1);
    EXPECT_EQ(list.IndexOf("Alphabet"), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
}

TEST_F(KernelList, UnloadsLastLoadedFirst) {
    Install("kl_alpha");
    Install("kl_beta");
    Install("kl_alpha_again");
    std::vector<std::string> order;
    {
        platform::TLibrarySet scoped;  // unloaded at the end of the block
        TFilterPluginList list;
        list.LoadFromDir(folder, scoped);
        ASSERT_EQ(list.Count(), 3);
        const char *tags[] = {"", "kl_alpha", "kl_beta", "kl_alpha_again"};
        for (int i = 0; i < list.Count(); ++i) order.push_back(tags[list.Items(i)->tileWidth]);
    }
    std::vector<std::string> unloads;
    for (const auto &l : Log())
        if (l.rfind("unload ", 0) == 0) unloads.push_back(l.substr(7));
    ASSERT_EQ(unloads.size(), 3u);
    EXPECT_EQ(unloads, std::vector<std::string>(order.rbegin(), order.rend()));
}

// Both lists over one set: the kernels, loaded after the window functions,
// are unloaded before them, and each library once its last list lets go.
TEST_F(KernelList, PluginSetUnloadsBothListsLastLoadedFirst) {
    Install("kl_alpha");
    Install("kl_beta");
    Install("wf_three");
    std::vector<std::string> kept;
    {
        TPluginSet plugins;
        plugins.LoadFromDir(folder);
        ASSERT_EQ(plugins.WndFuncPlugins.Count(), 3);
        ASSERT_EQ(plugins.FilterPlugins.Count(), 2);
        EXPECT_EQ(plugins.Libraries.Count(), 3);
        kept.push_back("wf_three");
        for (int i = 0; i < 2; ++i)
            kept.push_back(plugins.FilterPlugins.Items(i)->tileWidth == 1 ? "kl_alpha" : "kl_beta");
        EXPECT_EQ(plugins.FilterPlugins.Items(2), nullptr);
        EXPECT_EQ(plugins.FilterPlugins.Items(-1), nullptr);
        for (const auto &l : Log()) EXPECT_NE(l, "unload wf_three");
    }
    std::vector<std::string> unloads;
    for (const auto &l : Log())
        if (l.rfind("unload ", 0) == 0) unloads.push_back(l.substr(7));
    // Each list opened every library; those it had no use for went at once.
    ASSERT_GE(unloads.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(unloads.end() - 3, unloads.end()),
              std::vector<std::string>(kept.rbegin(), kept.rend()));
}

}  // namespace
