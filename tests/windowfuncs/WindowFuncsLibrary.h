// Morvane's own window-function library, loaded by explicit path from the
// build's plug-in folder.
#pragma once
#include <string>

#include "platform/Library.h"
#include "abi/WindowFuncPluginInfo.h"
#include "tests/support/TestPaths.h"

namespace windowfuncs_test {

class TWindowFuncsLibrary {
public:
    TWindowFuncsLibrary()
        : FHandle(platform::OpenLibrary(testing_support::PluginPath("WindowFuncs.dll"))) {
        FGet = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
            platform::FindSymbol(FHandle, MV_WINDOWFUNC_EXPORT_NAME));
    }
    ~TWindowFuncsLibrary() { platform::CloseLibrary(FHandle); }
    TWindowFuncsLibrary(const TWindowFuncsLibrary &) = delete;
    TWindowFuncsLibrary &operator=(const TWindowFuncsLibrary &) = delete;

    bool Loaded() const { return FGet != nullptr; }
    const WindowFuncPluginInfo *At(int32_t index) const { return FGet ? FGet(index) : nullptr; }
    const WindowFuncPluginInfo *Record(const std::string &name) const {
        for (int32_t i = 0; At(i); ++i)
            if (name == At(i)->name) return At(i);
        return nullptr;
    }

private:
    platform::LibraryHandle FHandle;
    GetWindowFuncPluginInfoFunc FGet = nullptr;
};

// One context of a record, released with the object.
class TContext {
public:
    TContext(const WindowFuncPluginInfo *info, int32_t param)
        : FInfo(info), FContext(info->CreateContext(param)) {}
    ~TContext() { FInfo->DestroyContext(FContext); }
    TContext(const TContext &) = delete;
    TContext &operator=(const TContext &) = delete;
    double operator()(double x) const { return FInfo->Weight(x, FContext); }
    int32_t Radius() const { return FInfo->GetRadius(FContext); }

private:
    const WindowFuncPluginInfo *FInfo;
    void *FContext;
};

}  // namespace windowfuncs_test
