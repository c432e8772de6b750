// What the filter offers, as it answers the stand-in host: the lists it
// loaded, with its settings file's switches applied. The tool checks its
// --func and --kernel against this, because the filter itself silently
// falls back to its first entries.
#pragma once
#include <string>

#include "plugins/FilterOffer.h"

struct TPluginInventory : TFilterOffer {  // Folder with a trailing delimiter
    // Null, or the entry at WindowFuncs[FuncIndex(name)].
    const TWindowFuncOffer *FindWindowFunc(const std::string &name) const;
    int FuncIndex(const std::string &name) const;  // -1 when not listed
    bool HasKernel(const std::string &name) const;
    // The kernel a user gets without asking: the fastest known one listed
    // (a kernel is listed only where the processor runs it), else the first.
    std::string DefaultKernel() const;
    bool IsFastestKnown(const std::string &kernel) const;
};

// Loads the filter, asks it and unloads it again; throws THostError.
TPluginInventory TakeInventory(const std::string &filterPath);
