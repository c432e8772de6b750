// The plug-ins the filter offers, read from the folder its settings name:
// both lists, less the window functions a "Func_" switch turns off. The
// filter loads them once; the tool loads them the same way to see the same.
#pragma once
#include <string>

#include "host/Settings.h"
#include "resize/PluginSet.h"

struct TFilterPluginLists : TPluginSet {
    settings::TSettingsFile SettingsFile;
    std::string PluginDir;  // as the settings give it, relative to the filter's folder
    std::string Folder;     // the folder searched
};

// For the filter file at `modulePath`; libraries stay loaded while the
// lists live.
TFilterPluginLists LoadFilterPluginLists(const std::string &modulePath);
