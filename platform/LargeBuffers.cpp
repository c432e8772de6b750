#include "platform/LargeBuffers.h"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

// The large page of x86-64 systems; smaller buffers keep the usual alignment.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

std::align_val_t AlignmentFor(std::size_t bytes) {
    return std::align_val_t(bytes >= kLargePage ? kLargePage : 16);
}

}  // namespace

void *AllocateLarge(std::size_t bytes) {
    void *buffer = ::operator new(bytes, AlignmentFor(bytes));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only a request: without large pages the buffer is as good.
    if (bytes >= kLargePage) madvise(buffer, bytes / kLargePage * kLargePage, MADV_HUGEPAGE);
#endif
    return buffer;
}

void FreeLarge(void *buffer, std::size_t bytes) noexcept {
    ::operator delete(buffer, AlignmentFor(bytes));
}

}  // namespace platform
