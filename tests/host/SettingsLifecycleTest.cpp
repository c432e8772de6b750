// The settings file across whole host sessions of the real filter, driven by
// the stand-in host as the editor drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "standin/StandinHost.h"
#include "abi/FilterConfig.h"
#include "plugins/PluginName.h"
#include "tests/host/Installation.h"

using host_test::TInstallation;

namespace {

const std::string DeliveredName = "\x83\x82\x83\x8b\x83\x94\x83\x40\x81\x5b\x83\x93";
const char *const FunctionNames[] = {"Spline16", "Spline36", "Spline64",
                                     "Lanczos",  "Bicubic",  "Bilinear"};

// One editor session: load, init, close.
void Session(const std::string &filter, std::string *name = nullptr) {
    TStandinHost host(filter, 640, 480, 2);
    if (name) *name = host.FilterName();
    EXPECT_EQ(host.Init(), TRUE);
    EXPECT_EQ(host.Exit(), TRUE);
}

TEST(SettingsLifecycle, FirstStartWritesEveryKey) {
    TInstallation inst;
    inst.AddPlugins();
    const std::string filter = inst.AddFilter();
    {
        TStandinHost host(filter, 640, 480, 2);
        EXPECT_EQ(host.FilterName(), DeliveredName);
        EXPECT_EQ(host.Information(), DeliveredName + " Ver.110619");
        EXPECT_EQ(host.Flags(), 0x44400);
        EXPECT_FALSE(std::filesystem::exists(inst.IniPath()));
        host.Init();
        host.Exit();
    }
    EXPECT_EQ(inst.Key("Morvane", "FilterName"), DeliveredName);
    EXPECT_EQ(inst.Key("Morvane", "PluginDir"), "DLL");
    EXPECT_EQ(inst.Key("Morvane", "SizeList"), "512x384");
    for (const char *f : FunctionNames) {
        const std::string expected = std::string(f) == "Lanczos"   ? "1,3,0"
                                     : std::string(f) == "Bicubic" ? "1,50,0"
                                                                   : "1,0,0";
        EXPECT_EQ(inst.Key("Morvane", std::string("Func_") + f), expected) << f;
    }
}

TEST(SettingsLifecycle, ACopyUnderAnotherNameKeepsItsOwnSection) {
    TInstallation inst;
    inst.AddPlugins();
    std::string delivered, copy;
    Session(inst.AddFilter(), &delivered);
    Session(inst.AddFilter("MorvaneWide.auf"), &copy);
    EXPECT_EQ(delivered, DeliveredName);
    EXPECT_EQ(copy, "MorvaneWide");
    EXPECT_EQ(inst.Key("MorvaneWide", "FilterName"), "MorvaneWide");
    EXPECT_EQ(inst.Key("Morvane", "FilterName"), DeliveredName);
    EXPECT_FALSE(std::filesystem::exists(inst.Path() + "MorvaneWide.ini"));
}

TEST(SettingsLifecycle, NamesAndFoldersAsTheFileGivesThem) {
    const std::string seventy(70, 'N');
    TInstallation inst;
    inst.AddPlugins("");  // beside the filter
    inst.WriteIni("[Morvane]\r\nFilterName=" + seventy + "\r\nPluginDir=\r\n");
    const std::string filter = inst.AddFilter();
    std::string name;
    {
        TStandinHost host(filter, 640, 480, 2);
        name = host.FilterName();
        host.Init();
        // With the plug-ins found beside the filter, a frame is resized.
        const TFilterConfig block = InitialFilterConfig;
        host.RestoreProject(&block, sizeof block);
        TYcImage frame(64, 48);
        const TFrameResult r = host.ProcessFrame(frame);
        EXPECT_EQ(r.Image.Width, 512);
        host.Exit();
    }
    EXPECT_EQ(name, std::string(64, 'N'));
    EXPECT_EQ(inst.Key("Morvane", "FilterName"), std::string(64, 'N'));
    EXPECT_EQ(inst.Key("Morvane", "PluginDir"), "");

    inst.WriteIni("[Morvane]\nFilterName=\n");
    Session(filter, &name);
    EXPECT_EQ(name, "");
}

TEST(SettingsLifecycle, FuncValuesSwitchAndRemember) {
    struct Case {
        const char *value;
        const char *atExit;  // Func_Bicubic after the session
    } cases[] = {
        {"0,3,0", "0,3,0"},
        {"1,3,0", "1,3,0"},
        {"1 3 0", "1,3,0"},
        {"1,3,", "1,3,0"},
        {"x,3,0", "1,3,0"},
        {"1,y,0", "1,50,0"},
        {"1,70000,0", "1,100,0"},
        {"", "1,50,0"},
        {"1,3", "1,50,0"},
        // Outside the function's 0 to 100: held to the nearer limit.
        {"1,101,0", "1,100,0"},
        {"1,-1,0", "1,0,0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        TInstallation inst;
        inst.AddPlugins();
        inst.WriteIni(std::string("[Morvane]\nFunc_Bicubic=") + c.value + "\n");
        Session(inst.AddFilter());
        EXPECT_EQ(inst.Key("Morvane", "Func_Bicubic"), c.atExit);
        EXPECT_EQ(inst.Key("Morvane", "Func_Lanczos"), "1,3,0");
    }
}

TEST(SettingsLifecycle, RememberedParameterSurvivesARestart) {
    TInstallation inst;
    inst.AddPlugins();
    const std::string filter = inst.AddFilter();
    TFilterConfig block = InitialFilterConfig;
    WriteConfigName(block.WndFuncName, "Lanczos");
    block.WndFuncParam = 5;
    {
        TStandinHost host(filter, 640, 480, 2);
        host.Init();
        host.RestoreProject(&block, sizeof block);  // in range: remembered
        host.Exit();
    }
    EXPECT_EQ(inst.Key("Morvane", "Func_Lanczos"), "1,5,0");
    {
        TStandinHost host(filter, 640, 480, 2);
        host.Init();
        block.WndFuncParam = 99;  // out of range: the remembered 5 replaces it
        host.RestoreProject(&block, sizeof block);
        TFilterConfig saved = InitialFilterConfig;
        const auto bytes = host.SaveProject();
        ASSERT_EQ(bytes.size(), sizeof saved);
        std::memcpy(&saved, bytes.data(), sizeof saved);
        EXPECT_EQ(saved.WndFuncParam, 5);
        host.Exit();
    }
}

TEST(SettingsLifecycle, UnwritableSettingsNeverReachTheHost) {
    TInstallation inst;
    inst.AddPlugins();
    std::filesystem::create_directory(inst.IniPath());  // a folder where the file should be
    TStandinHost host(inst.AddFilter(), 640, 480, 2);
    EXPECT_EQ(host.Init(), TRUE);
    EXPECT_EQ(host.Exit(), TRUE);
}

// However long a value, a start and an exit give back every byte of it.
TEST(SettingsLifecycle, LongValuesRoundTripWhole) {
    for (const int sizes : {300, 3000}) {
        std::string list;
        for (int i = 0; i < sizes; ++i)
            list += (i ? "," : "") + std::to_string(100 + i % 500) + "x" + std::to_string(10 + i);
        ASSERT_GT(list.size(), 2047u);
        TInstallation inst;
        inst.AddPlugins();
        inst.WriteIni("[Morvane]\r\nSizeList=" + list + "\r\n");
        Session(inst.AddFilter());
        const std::string kept = inst.Key("Morvane", "SizeList");
        EXPECT_EQ(kept.size(), list.size()) << sizes << " sizes";
        EXPECT_TRUE(kept == list) << sizes << " sizes";
    }
}

}  // namespace
