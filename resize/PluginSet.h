// The plug-ins the filter offers: both lists over the one set of libraries
// that holds their records, and what the filter remembers per window
// function. The dialog edits the remembered values in place.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/LibrarySet.h"
#include "plugins/ConfigResolver.h"
#include "plugins/WindowFuncPlugin.h"
#include "resize/FilterPluginList.h"

struct TPluginSet {
    // First, so that it goes last: the lists point into its libraries.
    platform::TLibrarySet Libraries;
    TWndFuncPluginList WndFuncPlugins;
    // WndFuncParams[i] belongs to WndFuncPlugins[i]. Sized before any
    // function is deleted and never shrunk, so it may be longer than the list.
    std::vector<int16_t> WndFuncParams;
    TFilterPluginList FilterPlugins;

    // Both lists from `folder`, the window functions first.
    void LoadFromDir(const std::string &folder) {
        WndFuncPlugins.LoadFromDir(folder, Libraries);
        FilterPlugins.LoadFromDir(folder, Libraries);
    }
    // Empty lists, every library unloaded.
    void Clear() noexcept {
        WndFuncPlugins = TWndFuncPluginList();
        WndFuncParams.clear();
        FilterPlugins = TFilterPluginList();
        Libraries.Clear();
    }
    // What the lists offer a saved block, within the host's largest frame.
    TConfigOffer Offer(int32_t maxWidth, int32_t maxHeight) const;
};

// A listed window function as the resolver sees it.
TWindowFuncOffer FuncOffer(const WindowFuncPluginInfo &info, int16_t remembered);
