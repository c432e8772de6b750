#include "cli/PluginInventory.h"

#include <algorithm>
#include <iterator>

#include "host/PluginLists.h"
#include "platform/Paths.h"

const TWindowFuncEntry *TPluginInventory::FindWindowFunc(const std::string &name) const {
    const auto it = std::find_if(WindowFuncs.begin(), WindowFuncs.end(),
                                 [&](const TWindowFuncEntry &e) { return e.Name == name; });
    return it == WindowFuncs.end() ? nullptr : &*it;
}

bool TPluginInventory::HasKernel(const std::string &name) const {
    return std::find(Kernels.begin(), Kernels.end(), name) != Kernels.end();
}

namespace {

// Our own kernels, fastest first.
const char *const kKernelsBySpeed[] = {"AVX", "SSE"};

}  // namespace

std::string TPluginInventory::DefaultKernel() const {
    for (const char *name : kKernelsBySpeed)
        if (HasKernel(name)) return name;
    return Kernels.empty() ? std::string() : Kernels.front();
}

bool TPluginInventory::IsFastestKnown(const std::string &kernel) const {
    return std::find(std::begin(kKernelsBySpeed), std::end(kKernelsBySpeed), kernel) !=
           std::end(kKernelsBySpeed);
}

TPluginInventory TakeInventory(const std::string &filterPath) {
    const TFilterPluginLists lists = LoadFilterPluginLists(filterPath);
    TPluginInventory inventory;
    inventory.Folder = platform::IncludeTrailingDelimiter(lists.Folder);
    for (int32_t i = 0; i < lists.WndFuncPlugins.Count(); ++i) {
        const WindowFuncPluginInfo *info = lists.WndFuncPlugins.Items(i);
        TWindowFuncEntry entry;
        entry.Name = info->name;
        entry.HasParam = info->paramName != nullptr;
        entry.ParamMin = info->paramMin;
        entry.ParamMax = info->paramMax;
        entry.ParamDefault = info->paramDefault;
        inventory.WindowFuncs.push_back(entry);
    }
    for (int32_t i = 0; i < lists.FilterPlugins.Count(); ++i)
        inventory.Kernels.push_back(lists.FilterPlugins.Items(i)->name);
    return inventory;
}
