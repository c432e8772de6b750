// A kernel plug-in library loaded by explicit path, as the kernel list
// loads it, for the life of the object.
#pragma once
#include <string>

#include "abi/LinearFilter.h"
#include "platform/Library.h"

namespace testing_support {

class TKernelLibrary {
public:
    // `fileName` inside this build's plug-in folder ("Tessolk.dll", ...).
    explicit TKernelLibrary(const std::string &fileName);
    ~TKernelLibrary();
    TKernelLibrary(const TKernelLibrary &) = delete;
    TKernelLibrary &operator=(const TKernelLibrary &) = delete;

    // The record; null when the library or its export is missing.
    const LinearFilterPluginInfo *Info() const { return FInfo; }
    const std::string &Path() const { return FPath; }

private:
    std::string FPath;
    platform::LibraryHandle FHandle;
    const LinearFilterPluginInfo *FInfo = nullptr;
};

}  // namespace testing_support
