// What the dialog tells the filter's window.
#pragma once
#include "abi/WindowTypes.h"

// Sent to the filter window after every applied change, so the host redraws.
constexpr UINT WM_CONFIG_CHANGED = 0x8200;
