// Shared by the window-function test libraries: each writes its loading and
// unloading to the test log, so tests can see which libraries stay loaded.
#pragma once
#include "abi/WindowFuncPluginInfo.h"
#include "tests/support/TestLog.h"

namespace {

// Context-free pieces for records whose functions do not matter to a test.
[[maybe_unused]] void *MV_CDECL WfCreateNothing(int32_t) { return nullptr; }
[[maybe_unused]] double MV_CDECL WfOne(double, void *) { return 1.0; }
[[maybe_unused]] int32_t MV_CDECL WfRadius2(void *) { return 2; }
[[maybe_unused]] void MV_CDECL WfDestroyNothing(void *) {}

}  // namespace
