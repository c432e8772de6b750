#include "cli/PluginInventory.h"

#include <algorithm>
#include <iterator>

#include "abi/FilterOffer.h"
#include "platform/Paths.h"
#include "standin/StandinHost.h"

int TPluginInventory::FuncIndex(const std::string &name) const {
    const auto it = std::find_if(WindowFuncs.begin(), WindowFuncs.end(),
                                 [&](const TWindowFuncOffer &e) { return e.Name == name; });
    return it == WindowFuncs.end() ? -1 : int(it - WindowFuncs.begin());
}

const TWindowFuncOffer *TPluginInventory::FindWindowFunc(const std::string &name) const {
    const int i = FuncIndex(name);
    return i < 0 ? nullptr : &WindowFuncs[i];
}

bool TPluginInventory::HasKernel(const std::string &name) const {
    return std::find(Kernels.begin(), Kernels.end(), name) != Kernels.end();
}

namespace {

// Our own kernels, fastest first.
const char *const kKernelsBySpeed[] = {"AVX", "SSE"};

// More than any list of names and paths: a filter claiming more is broken.
constexpr int32_t kLargestAnswer = 1 << 24;

// The filter's answer, asked again at the size it needs.
bool Ask(TStandinHost &host, std::string &text) {
    text.assign(4096, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        FILTER_OFFER_TEXT answer{int32_t(text.size()), -1, text.data()};
        if (!host.SendFilterMessage(WM_FILTER_OFFER, 0, reinterpret_cast<LPARAM>(&answer)) ||
            answer.length < 0 || answer.length > kLargestAnswer)
            return false;
        if (answer.length <= answer.capacity) {
            text.resize(std::size_t(answer.length));
            return true;
        }
        text.assign(std::size_t(answer.length), '\0');
    }
    return false;
}

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
    // The smallest frame: nothing passes through this host.
    TStandinHost host(filterPath, 1, 1, 1);
    std::string text;
    TPluginInventory inventory;
    if (!Ask(host, text) || !DecodeOffer(text, inventory))
        throw THostError(filterPath + ": the filter does not say which plug-ins it offers");
    inventory.Folder = platform::IncludeTrailingDelimiter(inventory.Folder);
    return inventory;
}
