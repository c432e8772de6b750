// Aligned blocks for everything a kernel reads.
#pragma once
#include <cstdint>

// A block of at least `size` bytes starting at a multiple of `alignment` (a
// power of two; below 4 counts as 4). The raw allocation's address is kept
// in the pointer-sized word just before the result. Throws std::bad_alloc
// when memory runs out or the size cannot be represented.
void *AlignedGetMem(int32_t size, uint32_t alignment);
// Bytes AlignedGetMem asks of the allocator, computed without wrapping so a
// total beyond the allocator's size type is seen and refused.
uint64_t AlignedBlockBytes(int32_t size, uint32_t alignment);
// Blocks handed out since the module was loaded; lets tests see that a
// cached path allocates nothing.
int64_t AlignedAllocationCount();
// Asked before every allocation when set; true makes that allocation fail
// as if memory ran out. Null in the filter as shipped; a test build of the
// filter sets it to fail each allocation in turn. Null clears it.
using AllocationFailureHook = bool (*)();
void SetAlignedAllocationHook(AllocationFailureHook hook);
// Frees a block from AlignedGetMem; `block` must not be null.
void AlignedFreeMem(void *block);
