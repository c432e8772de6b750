#include "host/FilterConfig.h"

#include <cstring>

std::string ReadConfigName(const char (&field)[ConfigNameBytes]) {
    const void *nul = std::memchr(field, 0, ConfigNameBytes);
    const std::size_t n = nul ? static_cast<const char *>(nul) - field : ConfigNameBytes;
    return std::string(field, n);
}

void WriteConfigName(char (&field)[ConfigNameBytes], const std::string &name) {
    const std::size_t n = name.size() < ConfigNameBytes ? name.size() : ConfigNameBytes;
    std::memset(field, 0, ConfigNameBytes);
    std::memcpy(field, name.data(), n);
}
