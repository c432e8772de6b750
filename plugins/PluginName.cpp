#include "plugins/PluginName.h"

#include <cstring>

std::string ReadConfigName(const char (&field)[PluginNameBytes]) {
    const void *nul = std::memchr(field, 0, PluginNameBytes);
    const std::size_t n = nul ? static_cast<const char *>(nul) - field : PluginNameBytes;
    return std::string(field, n);
}

void WriteConfigName(char (&field)[PluginNameBytes], const std::string &name) {
    const std::size_t n = name.size() < PluginNameBytes ? name.size() : PluginNameBytes;
    std::memset(field, 0, PluginNameBytes);
    std::memcpy(field, name.data(), n);
}
