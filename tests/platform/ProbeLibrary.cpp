// Loaded by the platform tests: one export, one function kept private.
#include "abi/CallConv.h"

namespace {

int Hidden() { return 17; }

}  // namespace

MV_EXTERN_C int MV_CDECL PlatformProbeHidden() { return Hidden(); }

MV_EXTERN_C MV_EXPORT int MV_CDECL PlatformProbeAnswer() { return 4242; }
