// The filter's only export.
#include "host/PluginMain.h"
#include "platform/Library.h"

MV_EXTERN_C MV_EXPORT FILTER_DLL *MV_STDCALL GetFilterTable(void) {
    try {
        return LoadFilterTable(
            platform::ModulePathOf(reinterpret_cast<const void *>(&GetFilterTable)));
    } catch (...) {
        // The editor keeps the project's saved block only if it gets the record.
        return RegistrationWithoutPlugins();
    }
}
