#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Library.h"
#include "plugins/WindowFuncPlugin.h"
#include "tests/plugins/PluginFolder.h"

using plugins_test::TPluginFolder;
using Lines = std::vector<std::string>;

namespace {

std::vector<std::string> NamesOf(const TWndFuncPluginList &list) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < list.Count(); ++i) names.push_back(list[i]->name);
    return names;
}

std::string BaseName(const std::string &file) { return file.substr(0, file.size() - 4); }

TEST(WndFuncPluginList, LibrariesInListingOrderRecordsInIndexOrder) {
    TPluginFolder folder({"wf_alpha", "wf_beta", "wf_three"});
    const std::map<std::string, std::vector<std::string>> records = {
        {"wf_alpha", {"Alpha"}},
        {"wf_beta", {"Beta", "Alpha"}},
        {"wf_three", {"Gauss", "Box", "Hat"}}};
    std::vector<std::string> expectedNames;
    Lines expectedLog;
    for (const std::string &file : platform::ListLibraries(folder.Path())) {
        const auto &names = records.at(BaseName(file));
        expectedNames.insert(expectedNames.end(), names.begin(), names.end());
        expectedLog.push_back("load " + BaseName(file));
    }
    ASSERT_EQ(expectedLog.size(), 3u);
    {
        platform::TLibrarySet libraries;
        TWndFuncPluginList list;
        list.LoadFromDir(folder.Path(), libraries);
        EXPECT_EQ(NamesOf(list), expectedNames);
        EXPECT_EQ(libraries.Count(), 3);
        EXPECT_EQ(folder.LogLines(), expectedLog);
    }
    // The set destroyed: unloaded in the reverse of load order.
    const Lines loads = expectedLog;
    for (auto it = loads.rbegin(); it != loads.rend(); ++it) expectedLog.push_back("un" + *it);
    EXPECT_EQ(folder.LogLines(), expectedLog);
}

TEST(WndFuncPluginList, ThreeRecordsOneHandle) {
    TPluginFolder folder({"wf_three"});
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(folder.Path(), libraries);
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"Gauss", "Box", "Hat"}));
    EXPECT_EQ(libraries.Count(), 1);
    EXPECT_EQ(list[3], nullptr);
    EXPECT_EQ(list[-1], nullptr);
}

TEST(WndFuncPluginList, LibrariesWithoutRecordsAreUnloadedAtOnce) {
    TPluginFolder folder({"wf_noexport", "wf_empty"});
    folder.Write("not-a-library.dll", "plain text");
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    // A folder given without its trailing delimiter.
    std::string path = folder.Path();
    path.pop_back();
    list.LoadFromDir(path, libraries);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(libraries.Count(), 0);
    const Lines log = folder.LogLines();
    ASSERT_EQ(log.size(), 4u);
    for (const std::string name : {"wf_noexport", "wf_empty"}) {
        const auto load = std::find(log.begin(), log.end(), "load " + name);
        ASSERT_NE(load, log.end()) << name;
        ASSERT_NE(load + 1, log.end()) << name;
        EXPECT_EQ(*(load + 1), "unload " + name);
    }
}

TEST(WndFuncPluginList, MissingOrEmptyFolderGivesEmptyList) {
    testing_support::TempDir empty;
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(empty.Path(), libraries);
    list.LoadFromDir(empty.Path() + "no-such-folder", libraries);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(libraries.Count(), 0);
}

TEST(WndFuncPluginList, UnusableRecordsSkippedEndlessLibraryStopped) {
    TPluginFolder folder({"wf_faulty"});
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(folder.Path(), libraries);
    EXPECT_EQ(NamesOf(list),
              (std::vector<std::string>{"AName32BytesLongIsTheMostItHolds", "Repeated"}));
    EXPECT_EQ(libraries.Count(), 1);
}

TEST(WndFuncPluginList, IndexOfIsWholeExactAndFirst) {
    TPluginFolder folder({"wf_alpha", "wf_beta", "wf_three"});
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(folder.Path(), libraries);
    const int32_t gauss = list.IndexOf("Gauss");
    ASSERT_GE(gauss, 0);
    EXPECT_STREQ(list[gauss]->name, "Gauss");
    EXPECT_EQ(list.IndexOf("gauss"), -1);
    EXPECT_EQ(list.IndexOf("GAUSS"), -1);
    EXPECT_EQ(list.IndexOf("Gaus"), -1);
    EXPECT_EQ(list.IndexOf("Gauss "), -1);
    EXPECT_EQ(list.IndexOf(std::string("Gauss\0x", 7)), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
    // Two records are named "Alpha": the earlier one is found.
    const std::vector<std::string> names = NamesOf(list);
    const int32_t firstAlpha =
        int32_t(std::find(names.begin(), names.end(), "Alpha") - names.begin());
    EXPECT_EQ(list.IndexOf("Alpha"), firstAlpha);
    list.Delete(firstAlpha);
    const int32_t secondAlpha = list.IndexOf("Alpha");
    ASSERT_GE(secondAlpha, firstAlpha);
    EXPECT_STREQ(list[secondAlpha]->name, "Alpha");
    list.Delete(secondAlpha);
    EXPECT_EQ(list.IndexOf("Alpha"), -1);
}

TEST(WndFuncPluginList, DeleteKeepsLibraryLoadedUntilDestroy) {
    TPluginFolder folder({"wf_radius", "wf_three"});
    auto libraries = std::make_unique<platform::TLibrarySet>();
    auto list = std::make_unique<TWndFuncPluginList>();
    list->LoadFromDir(folder.Path(), *libraries);
    const int32_t index = list->IndexOf("ParamRadius");
    ASSERT_GE(index, 0);
    const WindowFuncPluginInfo *info = (*list)[index];
    list->Delete(index);
    list->Delete(list->Count());  // out of range: nothing
    EXPECT_EQ(list->IndexOf("ParamRadius"), -1);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(libraries->Count(), 2);
    while (list->Count() > 0) list->Delete(0);
    // The deleted record's code is still mapped and callable.
    void *context = info->CreateContext(5);
    EXPECT_EQ(info->GetRadius(context), 5);
    info->DestroyContext(context);
    for (const std::string &line : folder.LogLines())
        EXPECT_EQ(line.rfind("unload", 0), std::string::npos) << line;
    libraries.reset();
    const Lines log = folder.LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "unload wf_radius"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "unload wf_three"), 1);
}

TEST(WndFuncPluginList, RecordWithoutParameterIsListed) {
    TPluginFolder folder({"wf_alpha", "wf_beta"});
    platform::TLibrarySet libraries;
    TWndFuncPluginList list;
    list.LoadFromDir(folder.Path(), libraries);
    const WindowFuncPluginInfo *alpha = list[list.IndexOf("Alpha")];
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->paramName, nullptr);
    const WindowFuncPluginInfo *beta = list[list.IndexOf("Beta")];
    ASSERT_NE(beta, nullptr);
    EXPECT_STREQ(beta->paramName, "  Beta");
    EXPECT_EQ(beta->paramMin, -5);
    EXPECT_EQ(beta->paramMax, 5);
    EXPECT_EQ(beta->paramDefault, 1);
}

}  // namespace
