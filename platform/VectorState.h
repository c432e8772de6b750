// The processor's vector registers between the host's code and a kernel's.
#pragma once

namespace platform {

// Code run before a kernel on the same thread (the host's, the C library's)
// may leave the upper halves of the 256-bit registers in use; SSE code that
// follows then waits on them at every instruction on many processors.
// Clears them where the processor has them; elsewhere does nothing.
void ClearUpperVectorHalves();

}  // namespace platform
