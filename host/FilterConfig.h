// The block the filter starts with until a project or the settings say
// otherwise.
#pragma once
#include "abi/FilterConfig.h"
#include "plugins/PluginName.h"

constexpr TFilterConfig InitialFilterConfig = {512, 384, "Spline16", "", 0};
