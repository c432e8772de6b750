// The window-function plug-ins found in the plug-in folder. The records live
// inside their libraries, which the library set given to LoadFromDir keeps
// loaded; the list must not outlive it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "abi/WindowFuncPluginInfo.h"
#include "platform/LibrarySet.h"

class TWndFuncPluginList {
public:
    // Appends the records of every *.dll in `folder` that exports
    // GetWindowFuncPluginInfo, in listing order and then index order; those
    // libraries join `libraries`.
    void LoadFromDir(const std::string &folder, platform::TLibrarySet &libraries);

    int32_t Count() const { return int32_t(FItems.size()); }
    // Null when `index` is out of range.
    const WindowFuncPluginInfo *Items(int32_t index) const;
    const WindowFuncPluginInfo *operator[](int32_t index) const { return Items(index); }
    // First record whose name equals `name` byte for byte, or -1.
    int32_t IndexOf(const std::string &name) const;
    // Removes the item only; its library stays loaded. Out of range: nothing.
    void Delete(int32_t index);

private:
    // Appends the library's records; false when it gave none.
    bool AppendRecords(platform::LibraryHandle library);

    std::vector<const WindowFuncPluginInfo *> FItems;
};
