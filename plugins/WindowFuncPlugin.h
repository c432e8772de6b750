// The window-function plug-ins found in the plug-in folder. Their libraries
// stay loaded while the list lives, since the records live inside them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Library.h"
#include "abi/WindowFuncPluginInfo.h"

class TWndFuncPluginList {
public:
    TWndFuncPluginList() = default;
    // Unloads the libraries in the reverse of load order.
    ~TWndFuncPluginList();
    TWndFuncPluginList(const TWndFuncPluginList &) = delete;
    TWndFuncPluginList &operator=(const TWndFuncPluginList &) = delete;

    // Appends the records of every *.dll in `folder` that exports
    // GetWindowFuncPluginInfo, in listing order and then index order.
    void LoadFromDir(const std::string &folder);

    int32_t Count() const { return int32_t(FItems.size()); }
    // Null when `index` is out of range.
    const WindowFuncPluginInfo *Items(int32_t index) const;
    const WindowFuncPluginInfo *operator[](int32_t index) const { return Items(index); }
    // First record whose name equals `name` byte for byte, or -1.
    int32_t IndexOf(const std::string &name) const;
    // Removes the item only; its library stays loaded. Out of range: nothing.
    void Delete(int32_t index);
    // Libraries kept loaded: those that gave at least one record.
    int32_t ModuleCount() const { return int32_t(FModules.size()); }

private:
    // Appends the library's records; false when it gave none.
    bool AppendRecords(platform::LibraryHandle library);

    std::vector<const WindowFuncPluginInfo *> FItems;
    std::vector<platform::LibraryHandle> FModules;
};
