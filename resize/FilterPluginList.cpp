#include "resize/FilterPluginList.h"

#include <cstring>

#include "platform/Folder.h"
#include "platform/Paths.h"

TFilterPluginList::~TFilterPluginList() {
    while (!FModules.empty()) {
        platform::CloseLibrary(FModules.back());
        FModules.pop_back();
    }
}

void TFilterPluginList::LoadFromDir(const std::string &folder) {
    const std::string dir = platform::IncludeTrailingDelimiter(folder);
    for (const std::string &file : platform::ListLibraries(dir)) {
        platform::LibraryHandle lib = platform::OpenLibrary(dir + file);
        if (!lib) continue;
        auto get = reinterpret_cast<GetLinearFilterPluginInfoFunc>(
            platform::FindSymbol(lib, "GetLinearFilterPluginInfo"));
        const LinearFilterPluginInfo *info = get ? get() : nullptr;
        if (!info) {
            platform::CloseLibrary(lib);
            continue;
        }
        FItems.push_back(info);
        FModules.push_back(lib);
    }
}

int32_t TFilterPluginList::IndexOf(const std::string &name) const {
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        const char *itemName = FItems[i]->name;
        if (itemName && std::strlen(itemName) == name.size() &&
            std::memcmp(itemName, name.data(), name.size()) == 0)
            return int32_t(i);
    }
    return -1;
}
