// A library without the export: loaded, found wanting, unloaded.
#include "tests/testlibs/wf_TestLib.h"

namespace {
test_log::TLoadLines LoadLog("wf_noexport");
}

MV_EXTERN_C MV_EXPORT int32_t MV_CDECL SomethingElse(void) { return 1; }
