#include "resize/FilterPluginList.h"

#include <cstring>

#include "platform/Library.h"
#include "platform/Paths.h"
#include "plugins/PluginName.h"

namespace {

// Limits that keep the driver's tile and offset arithmetic inside int32 for
// any frame the host can hold.
constexpr int32_t MaxTileSize = 1 << 16;
constexpr int32_t MaxRowPitch = 1 << 16;

}  // namespace

bool TFilterPluginList::IsUsableKernel(const LinearFilterPluginInfo *info) {
    return info && IsStorableName(info->name) && info->GetStripBufferSize &&
           info->GetRowBufferSize && info->Process && info->tileWidth >= 1 &&
           info->tileWidth <= MaxTileSize && info->tileHeight >= 1 &&
           info->tileHeight <= MaxTileSize && info->rowPitch >= 1 && info->rowPitch <= MaxRowPitch;
}

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
        if (!IsUsableKernel(info)) {
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
