#include "plugins/WindowFuncPlugin.h"

#include <algorithm>

#include "platform/Library.h"
#include "plugins/PluginName.h"

namespace {

// A library that ignores the index and keeps handing out records would
// otherwise hold start-up in an endless loop.
constexpr int32_t kMaxRecordsPerLibrary = 4096;

// A record without a name or a function would fault in the dialog, the
// settings file or the weight builder, and one whose name the saved block
// cannot hold could never be restored, so neither is listed.
bool IsUsable(const WindowFuncPluginInfo *info) {
    return IsStorableName(info->name) && info->CreateContext && info->Weight && info->GetRadius &&
           info->DestroyContext;
}

}  // namespace

void TWndFuncPluginList::LoadFromDir(const std::string &folder, platform::TLibrarySet &libraries) {
    const auto take = [this](platform::LibraryHandle library) { return AppendRecords(library); };
    libraries.LoadFromDir(folder, take);
}

bool TWndFuncPluginList::AppendRecords(platform::LibraryHandle library) {
    auto getInfo = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
        platform::FindSymbol(library, MV_WINDOWFUNC_EXPORT_NAME));
    if (!getInfo) return false;
    std::vector<const WindowFuncPluginInfo *> seen;
    for (int32_t index = 0; index < kMaxRecordsPerLibrary; ++index) {
        const WindowFuncPluginInfo *info = getInfo(index);
        if (!info) break;
        // The same record again means the library does not count indices.
        if (std::find(seen.begin(), seen.end(), info) != seen.end()) break;
        seen.push_back(info);
        if (IsUsable(info)) FItems.push_back(info);
    }
    return std::any_of(seen.begin(), seen.end(), IsUsable);
}

const WindowFuncPluginInfo *TWndFuncPluginList::Items(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[std::size_t(index)];
}

int32_t TWndFuncPluginList::IndexOf(const std::string &name) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (name == FItems[std::size_t(i)]->name) return i;
    return -1;
}

void TWndFuncPluginList::Delete(int32_t index) {
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
}
