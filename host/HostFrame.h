// The host's frame records handed to the resize driver as plain values, and
// the driver's result handed back: frame pointers swapped, size updated.
#pragma once
#include <cstdint>

#include "abi/HostAbi.h"
#include "resize/Filter.h"

// Resizes the frame in `fpip` to `width` × `height` on the host's worker
// threads. When the driver passes the frame, the record is left untouched.
// Never throws.
void ResizeHostFrame(TFilter &driver, FILTER *fp, FILTER_PROC_INFO *fpip, int32_t width,
                     int32_t height) noexcept;
