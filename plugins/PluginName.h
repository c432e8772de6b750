// Which plug-in names can be listed: the saved configuration block stores a
// window function's or kernel's name in a field of PluginNameBytes, and a
// name that cannot be stored could be chosen but never restored.
#pragma once
#include <cstddef>
#include <cstring>

constexpr std::size_t PluginNameBytes = 32;

// Not null, not empty, at most PluginNameBytes bytes.
inline bool IsStorableName(const char *name) {
    if (!name || !*name) return false;
    return ::strnlen(name, PluginNameBytes + 1) <= PluginNameBytes;
}
