#include "platform/Processors.h"

#include <windows.h>

namespace platform {

int ProcessorCount() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors >= 1 ? int(info.dwNumberOfProcessors) : 1;
}

}  // namespace platform
