// Which plug-in names can be listed: the saved configuration block stores a
// window function's or kernel's name in a field of PluginNameBytes, and a
// name that cannot be stored could be chosen but never restored.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

#include "abi/FilterConfig.h"

constexpr std::size_t PluginNameBytes = MV_CONFIG_NAME_BYTES;

// Not null, not empty, at most PluginNameBytes bytes.
inline bool IsStorableName(const char *name) {
    if (!name || !*name) return false;
    return ::strnlen(name, PluginNameBytes + 1) <= PluginNameBytes;
}

// A name field read as text: at most 32 bytes, ending at the first NUL (a
// 32-byte name has none).
std::string ReadConfigName(const char (&field)[PluginNameBytes]);
// Copies at most 32 bytes of `name` and zero-fills the rest of the field.
void WriteConfigName(char (&field)[PluginNameBytes], const std::string &name);
