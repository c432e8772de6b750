// The kernel plug-ins found in the plug-in folder, kept loaded while the
// filter lives.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "abi/LinearFilter.h"
#include "platform/Library.h"

class TFilterPluginList {
public:
    TFilterPluginList() = default;
    // Unloads the libraries, last loaded first.
    ~TFilterPluginList();
    TFilterPluginList(const TFilterPluginList &) = delete;
    TFilterPluginList &operator=(const TFilterPluginList &) = delete;

    // Appends one record per library in `folder` that exports
    // GetLinearFilterPluginInfo and returns a usable record; others are
    // unloaded.
    void LoadFromDir(const std::string &folder);
    // A name the saved block can hold, all three functions, and tile sizes
    // and a row pitch the driver can work with.
    static bool IsUsableKernel(const LinearFilterPluginInfo *info);
    int32_t Count() const { return int32_t(FItems.size()); }
    const LinearFilterPluginInfo *Items(int32_t index) const { return FItems[index]; }
    // First entry whose name equals `name` byte for byte, or -1.
    int32_t IndexOf(const std::string &name) const;

private:
    std::vector<const LinearFilterPluginInfo *> FItems;
    std::vector<platform::LibraryHandle> FModules;  // FModules[i] supplied FItems[i]
};
