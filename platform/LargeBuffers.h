// Memory for buffers of many megabytes (frames, pictures). Where the system
// backs memory with large pages on request, such a buffer asks for them:
// its first touch then faults once every 2 MB rather than every 4 kB, and
// the processor's address cache covers it.
#pragma once
#include <cstddef>

namespace platform {

// At least 16-byte aligned, not cleared; throws std::bad_alloc.
void *AllocateLarge(std::size_t bytes);
// `bytes` as given to AllocateLarge.
void FreeLarge(void *buffer, std::size_t bytes) noexcept;

}  // namespace platform
