#include "platform/Folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/Paths.h"

namespace platform {

namespace {

// A leading dot is this system's hidden attribute.
bool IsListedLibrary(const std::string &folder, const std::string &name) {
    if (name.empty() || name[0] == '.' || !HasLibraryExtension(name)) return false;
    struct stat info;
    return stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> ListLibraries(const std::string &folder) {
    std::vector<std::string> names;
    const std::string dir = IncludeTrailingDelimiter(folder);
    DIR *listing = opendir(dir.c_str());
    if (!listing) return names;
    while (const dirent *entry = readdir(listing))
        if (IsListedLibrary(dir, entry->d_name)) names.emplace_back(entry->d_name);
    closedir(listing);
    return names;
}

}  // namespace platform
