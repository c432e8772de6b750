#include "host/PluginLists.h"

#include "platform/Paths.h"

namespace {

// Drops the functions the settings switch off; remembers the others'
// parameters, held to each function's limits so that the block shows the
// parameter the function runs with.
void ReadFuncSettings(TFilterPluginLists &lists) {
    TWndFuncPluginList &funcs = lists.WndFuncPlugins;
    lists.WndFuncParams.assign(funcs.Count(), 0);
    for (int32_t i = 0; i < funcs.Count();) {
        const WindowFuncPluginInfo *info = funcs.Items(i);
        const std::string value = settings::Read(
            lists.SettingsFile, settings::FuncKeyPrefix + std::string(info->name), "");
        const settings::TFuncSetting s = settings::ParseFuncSetting(value, info->paramDefault);
        if (!s.enabled) {
            funcs.Delete(i);
            continue;
        }
        lists.WndFuncParams[i++] = HeldToLimits(FuncOffer(*info, s.param), s.param);
    }
}

}  // namespace

TFilterPluginLists LoadFilterPluginLists(const std::string &modulePath) {
    TFilterPluginLists lists;
    lists.SettingsFile = settings::SettingsFileFor(modulePath);
    lists.PluginDir =
        settings::Read(lists.SettingsFile, settings::PluginDirKey, settings::DefaultPluginDir);
    lists.Folder = platform::ExtractFileDir(modulePath) + lists.PluginDir;
    lists.LoadFromDir(lists.Folder);
    ReadFuncSettings(lists);
    return lists;
}
