// The plug-ins the filter offers, read from the folder its settings name:
// both lists, less the window functions a "Func_" switch turns off. The
// filter loads them once; the tool loads them the same way to see the same.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/Settings.h"
#include "plugins/WindowFuncPlugin.h"
#include "resize/FilterPluginList.h"

struct TFilterPluginLists {
    settings::TSettingsFile SettingsFile;
    std::string PluginDir;  // as the settings give it, relative to the filter's folder
    std::string Folder;     // the folder searched
    std::unique_ptr<TWndFuncPluginList> WndFuncs;
    // Remembered parameter per window function, by list index.
    std::vector<int16_t> WndFuncParams;
    std::unique_ptr<TFilterPluginList> Kernels;
};

// For the filter file at `modulePath`; libraries stay loaded while the
// lists live.
TFilterPluginLists LoadFilterPluginLists(const std::string &modulePath);
