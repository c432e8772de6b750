#include "tests/support/KernelLibrary.h"

#include "tests/support/TestPaths.h"

namespace testing_support {

TKernelLibrary::TKernelLibrary(const std::string &fileName)
    : FPath(PluginPath(fileName)), FHandle(platform::OpenLibrary(FPath)) {
    if (!FHandle) return;
    const auto get = reinterpret_cast<GetLinearFilterPluginInfoFunc>(
        platform::FindSymbol(FHandle, "GetLinearFilterPluginInfo"));
    if (get) FInfo = get();
}

TKernelLibrary::~TKernelLibrary() {
    if (FHandle) platform::CloseLibrary(FHandle);
}

}  // namespace testing_support
