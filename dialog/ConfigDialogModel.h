// What the dialog edits and whom it tells: the filter's state, handed over
// by the filter when it builds the dialog.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "abi/FilterConfig.h"
#include "abi/WindowTypes.h"
#include "dialog/FilterProtocol.h"
#include "resize/PluginSet.h"

struct TConfigDialogModel {
    TFilterConfig &Config;
    std::string &SizeList;  // comma text of "WxH" entries
    // The lists are only read; the remembered parameters are changed.
    TPluginSet &Plugins;
    HWND FilterWindow;
    int32_t HostMaxWidth;
    int32_t HostMaxHeight;
    std::function<void()> ApplyConfig;
};
