// The kernel plug-ins found in the plug-in folder. The records live inside
// their libraries, which the library set given to LoadFromDir keeps loaded;
// the list must not outlive it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "abi/LinearFilter.h"
#include "platform/LibrarySet.h"

class TFilterPluginList {
public:
    // Appends one record per library in `folder` that exports
    // GetLinearFilterPluginInfo and returns a usable record; those libraries
    // join `libraries`.
    void LoadFromDir(const std::string &folder, platform::TLibrarySet &libraries);
    // A name the saved block can hold, all three functions, and tile sizes
    // and a row pitch the driver can work with.
    static bool IsUsableKernel(const LinearFilterPluginInfo *info);
    int32_t Count() const { return int32_t(FItems.size()); }
    // Null when `index` is out of range.
    const LinearFilterPluginInfo *Items(int32_t index) const;
    // First entry whose name equals `name` byte for byte, or -1.
    int32_t IndexOf(const std::string &name) const;

private:
    std::vector<const LinearFilterPluginInfo *> FItems;
};
