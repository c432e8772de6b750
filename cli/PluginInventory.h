// What a filter plug-in will find in its plug-in folder, read the way it
// reads it: the folder named by "PluginDir" in Morvane.ini beside the filter
// (section: the filter's file name without extension; default "DLL"), and
// in it every *.dll that answers GetWindowFuncPluginInfo or
// GetLinearFilterPluginInfo. The tool checks its --func and --kernel against
// this, because the filter itself silently falls back to its first entries.
// Window functions switched off by a "Func_" key still appear here.
#pragma once
#include <string>
#include <vector>

struct TWindowFuncEntry {
    std::string Name;
    bool HasParam = false;  // the record names a parameter
    int ParamMin = 0, ParamMax = 0, ParamDefault = 0;
};

struct TPluginInventory {
    std::string Folder;  // with a trailing delimiter
    std::vector<TWindowFuncEntry> WindowFuncs;  // in the filter's list order
    std::vector<std::string> Kernels;           // likewise

    const TWindowFuncEntry *FindWindowFunc(const std::string &name) const;
    bool HasKernel(const std::string &name) const;
};

// Loads each library of the folder briefly; nothing stays loaded.
TPluginInventory TakeInventory(const std::string &filterPath);
