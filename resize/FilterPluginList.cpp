#include "resize/FilterPluginList.h"

#include <cstring>

#include "platform/Library.h"
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

void TFilterPluginList::LoadFromDir(const std::string &folder, platform::TLibrarySet &libraries) {
    libraries.LoadFromDir(folder, [this](platform::LibraryHandle library) {
        auto get = reinterpret_cast<GetLinearFilterPluginInfoFunc>(
            platform::FindSymbol(library, "GetLinearFilterPluginInfo"));
        const LinearFilterPluginInfo *info = get ? get() : nullptr;
        if (!IsUsableKernel(info)) return false;
        FItems.push_back(info);
        return true;
    });
}

const LinearFilterPluginInfo *TFilterPluginList::Items(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[std::size_t(index)];
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
