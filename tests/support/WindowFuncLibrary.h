// A window-function library loaded by explicit path for the life of the
// object, its records looked up by name.
#pragma once
#include <string>

#include "abi/WindowFuncPluginInfo.h"
#include "platform/Library.h"

namespace testing_support {

class TWindowFuncLibrary {
public:
    explicit TWindowFuncLibrary(const std::string &path) : FHandle(platform::OpenLibrary(path)) {
        FGet = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
            platform::FindSymbol(FHandle, MV_WINDOWFUNC_EXPORT_NAME));
    }
    ~TWindowFuncLibrary() { platform::CloseLibrary(FHandle); }
    TWindowFuncLibrary(const TWindowFuncLibrary &) = delete;
    TWindowFuncLibrary &operator=(const TWindowFuncLibrary &) = delete;

    bool Loaded() const { return FGet != nullptr; }
    const WindowFuncPluginInfo *At(int32_t index) const { return FGet ? FGet(index) : nullptr; }
    const WindowFuncPluginInfo *Record(const std::string &name) const {
        for (int32_t i = 0; At(i); ++i)
            if (name == At(i)->name) return At(i);
        return nullptr;
    }
    // Another export of the library, or null.
    void *Symbol(const char *name) const { return platform::FindSymbol(FHandle, name); }

private:
    platform::LibraryHandle FHandle;
    GetWindowFuncPluginInfoFunc FGet = nullptr;
};

}  // namespace testing_support
