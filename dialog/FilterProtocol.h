// Names shared by the filter and its dialog.
#pragma once
#include "abi/WindowTypes.h"

// Sent to the filter window after every applied change, so the host redraws.
constexpr UINT WM_CONFIG_CHANGED = 0x8200;
// The window-function entry that selects the built-in area average.
constexpr const char *AreaAverageName = "AreaAverage";
