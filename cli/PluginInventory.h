// What the filter offers, read with the filter's own list code and its
// settings file's switches. The tool checks its --func and --kernel against
// this, because the filter itself silently falls back to its first entries.
#pragma once
#include <string>
#include <vector>

struct TWindowFuncEntry {
    std::string Name;
    bool HasParam = false;  // the record names a parameter
    int ParamMin = 0, ParamMax = 0, ParamDefault = 0;
};

struct TPluginInventory {
    std::string Folder;                         // with a trailing delimiter
    std::vector<TWindowFuncEntry> WindowFuncs;  // in the filter's list order
    std::vector<std::string> Kernels;           // likewise

    const TWindowFuncEntry *FindWindowFunc(const std::string &name) const;
    bool HasKernel(const std::string &name) const;
    // The kernel a user gets without asking: the fastest known one listed
    // (a kernel is listed only where the processor runs it), else the first.
    std::string DefaultKernel() const;
    bool IsFastestKnown(const std::string &kernel) const;
};

// Loads the libraries briefly; nothing stays loaded.
TPluginInventory TakeInventory(const std::string &filterPath);
