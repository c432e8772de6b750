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
#include "plugins/WindowFuncPlugin.h"
#include "resize/FilterPluginList.h"

struct TConfigDialogModel {
    TFilterConfig &Config;
    std::string &SizeList;  // comma text of "WxH" entries
    const TWndFuncPluginList &WndFuncPlugins;
    std::vector<int16_t> &WndFuncParams;  // remembered parameter per window function
    const TFilterPluginList &FilterPlugins;
    HWND FilterWindow;
    int32_t HostMaxWidth;
    int32_t HostMaxHeight;
    std::function<void()> ApplyConfig;
};
