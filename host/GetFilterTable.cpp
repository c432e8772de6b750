// The filter's only export.
#include "host/PluginMain.h"
#include "platform/ModulePath.h"

MV_EXTERN_C MV_EXPORT FILTER_DLL *MV_STDCALL GetFilterTable(void) {
    return LoadFilterTable(platform::ModulePathOf(reinterpret_cast<const void *>(&GetFilterTable)));
}
