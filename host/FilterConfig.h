// The block the filter starts with until a project or the settings say
// otherwise.
#pragma once
#include "abi/FilterConfig.h"
#include "dialog/SizeText.h"
#include "plugins/PluginName.h"

constexpr TFilterConfig InitialFilterConfig = {InitialWidth, InitialHeight, "Spline16", "", 0};
