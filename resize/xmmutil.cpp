#include "resize/xmmutil.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
AllocationFailureHook AlignedAllocationHook = nullptr;
std::atomic<int64_t> AllocationCount{0};

uint64_t EffectiveAlignment(uint32_t alignment) { return alignment < 4 ? 4 : alignment; }
}  // namespace

uint64_t AlignedBlockBytes(int32_t size, uint32_t alignment) {
    // The raw pointer is stored in the word before the result, so reserve a
    // whole pointer (4 bytes on the host's 32-bit build, 8 on 64-bit ones).
    return uint64_t(size < 0 ? 0 : size) + EffectiveAlignment(alignment) + sizeof(void *);
}

void *AlignedGetMem(int32_t size, uint32_t alignment) {
    const uint64_t a = EffectiveAlignment(alignment);
    const uint64_t total = AlignedBlockBytes(size, alignment);
    if (size < 0 || total > SIZE_MAX) throw std::bad_alloc();
    if (AlignedAllocationHook && AlignedAllocationHook()) throw std::bad_alloc();
    void *raw = std::malloc(std::size_t(total));
    if (!raw) throw std::bad_alloc();
    const uintptr_t p = (uintptr_t(raw) + sizeof(void *) + uintptr_t(a) - 1) & ~uintptr_t(a - 1);
    std::memcpy(reinterpret_cast<void *>(p - sizeof(void *)), &raw, sizeof(void *));
    AllocationCount.fetch_add(1, std::memory_order_relaxed);
    return reinterpret_cast<void *>(p);
}

void SetAlignedAllocationHook(AllocationFailureHook hook) { AlignedAllocationHook = hook; }

int64_t AlignedAllocationCount() { return AllocationCount.load(std::memory_order_relaxed); }

void AlignedFreeMem(void *block) {
    void *raw;
    std::memcpy(&raw, static_cast<char *>(block) - sizeof(void *), sizeof(void *));
    std::free(raw);
}
