// Built into a test copy of the filter only: allocation number N (counted
// from the library's loading, N from MORVANE_FAIL_ALLOCATION) fails as if
// memory ran out.
#include <atomic>
#include <cstdint>
#include <cstdlib>

#include "resize/xmmutil.h"

namespace {

const int64_t FailingAllocation = [] {
    const char *value = std::getenv("MORVANE_FAIL_ALLOCATION");
    return value ? std::atoll(value) : 0;
}();
std::atomic<int64_t> Allocations{0};

bool FailThisOne() { return ++Allocations == FailingAllocation; }

const bool Installed = (SetAlignedAllocationHook(FailThisOne), true);

}  // namespace
