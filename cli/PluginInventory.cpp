#include "cli/PluginInventory.h"

#include <algorithm>

#include "abi/LinearFilter.h"
#include "platform/Folder.h"
#include "platform/Library.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "abi/WindowFuncPluginInfo.h"

namespace {

// The filter's own settings-file rules: fixed file name, 2048-byte values.
const char *const kSettingsFile = "Morvane.ini";
constexpr std::size_t kValueBufferBytes = 2048;
// A plug-in library offering more records than this is taken as broken.
constexpr int kMaxRecordsPerLibrary = 1024;

std::string PluginFolder(const std::string &filterPath) {
    const std::string dir = platform::ExtractFileDir(filterPath);
    const std::string sub = platform::ReadIniString(dir + kSettingsFile,
                                                    platform::ExtractBaseName(filterPath),
                                                    "PluginDir", "DLL", kValueBufferBytes);
    return platform::IncludeTrailingDelimiter(dir + sub);
}

void ReadWindowFuncs(platform::LibraryHandle library, TPluginInventory &inventory) {
    const auto get = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
        platform::FindSymbol(library, MV_WINDOWFUNC_EXPORT_NAME));
    if (!get) return;
    for (int i = 0; i < kMaxRecordsPerLibrary; ++i) {
        const WindowFuncPluginInfo *info = get(i);
        if (!info) return;
        TWindowFuncEntry entry;
        entry.Name = info->name ? info->name : "";
        entry.HasParam = info->paramName != nullptr;
        entry.ParamMin = info->paramMin;
        entry.ParamMax = info->paramMax;
        entry.ParamDefault = info->paramDefault;
        inventory.WindowFuncs.push_back(entry);
    }
}

void ReadKernel(platform::LibraryHandle library, TPluginInventory &inventory) {
    const auto get = reinterpret_cast<GetLinearFilterPluginInfoFunc>(
        platform::FindSymbol(library, "GetLinearFilterPluginInfo"));
    const LinearFilterPluginInfo *info = get ? get() : nullptr;
    if (info) inventory.Kernels.push_back(info->name ? info->name : "");
}

}  // namespace

const TWindowFuncEntry *TPluginInventory::FindWindowFunc(const std::string &name) const {
    const auto it = std::find_if(WindowFuncs.begin(), WindowFuncs.end(),
                                 [&](const TWindowFuncEntry &e) { return e.Name == name; });
    return it == WindowFuncs.end() ? nullptr : &*it;
}

bool TPluginInventory::HasKernel(const std::string &name) const {
    return std::find(Kernels.begin(), Kernels.end(), name) != Kernels.end();
}

TPluginInventory TakeInventory(const std::string &filterPath) {
    TPluginInventory inventory;
    inventory.Folder = PluginFolder(filterPath);
    // The filter fills its window-function list from all libraries before
    // its kernel list, so each list keeps the folder's order.
    std::vector<platform::LibraryHandle> libraries;
    for (const std::string &file : platform::ListLibraries(inventory.Folder))
        if (platform::LibraryHandle library = platform::OpenLibrary(inventory.Folder + file))
            libraries.push_back(library);
    for (platform::LibraryHandle library : libraries) ReadWindowFuncs(library, inventory);
    for (platform::LibraryHandle library : libraries) ReadKernel(library, inventory);
    for (auto it = libraries.rbegin(); it != libraries.rend(); ++it) platform::CloseLibrary(*it);
    return inventory;
}
