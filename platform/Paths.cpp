#include "platform/Paths.h"

namespace platform {

char PathDelimiter() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool IsPathDelimiter(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

std::string IncludeTrailingDelimiter(const std::string &folder) {
    if (!folder.empty() && IsPathDelimiter(folder.back())) return folder;
    return folder + PathDelimiter();
}

std::string ExtractFileDir(const std::string &path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1])) return path.substr(0, i);
    return "";
}

std::string ExtractBaseName(const std::string &path) {
    std::string name = path.substr(ExtractFileDir(path).size());
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace platform
