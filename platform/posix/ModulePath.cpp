#include "platform/ModulePath.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>

namespace platform {

namespace {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer));
    return n > 0 && n < ssize_t(sizeof(buffer)) ? std::string(buffer, std::size_t(n)) : "";
}

// A library opened by a relative path keeps that path in its link map.
std::string Absolute(const std::string &path) {
    if (path.empty() || path[0] == '/') return path;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof(cwd)) ? std::string(cwd) + '/' + path : "";
}

}  // namespace

std::string ModulePathOf(const void *address) {
    Dl_info info;
    link_map *map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void **>(&map), RTLD_DL_LINKMAP) || !map)
        return "";
    // The main program's link map has an empty name; dli_fname would be argv[0].
    if (map->l_name[0] == '\0') return ExecutablePath();
    return Absolute(map->l_name);
}

}  // namespace platform
