// The saved configuration block: the host stores these 76 bytes in its
// project files, so the layout is a stored format on every build.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "plugins/PluginName.h"

constexpr std::size_t ConfigNameBytes = PluginNameBytes;

struct TFilterConfig {
    int32_t Width = 512;   // target frame width, pixels
    int32_t Height = 384;  // target frame height, pixels
    char WndFuncName[ConfigNameBytes] = "Spline16";  // or "AreaAverage"
    char FilterPluginName[ConfigNameBytes] = {};     // kernel name; empty = first
    int32_t WndFuncParam = 0;  // compared as 32 bits, handed on as its low 16
};

static_assert(sizeof(TFilterConfig) == 76);
static_assert(offsetof(TFilterConfig, Height) == 4);
static_assert(offsetof(TFilterConfig, WndFuncName) == 8);
static_assert(offsetof(TFilterConfig, FilterPluginName) == 40);
static_assert(offsetof(TFilterConfig, WndFuncParam) == 72);

// A name field read as text: at most 32 bytes, ending at the first NUL (a
// 32-byte name has none).
std::string ReadConfigName(const char (&field)[ConfigNameBytes]);
// Copies at most 32 bytes of `name` and zero-fills the rest of the field.
void WriteConfigName(char (&field)[ConfigNameBytes], const std::string &name);
