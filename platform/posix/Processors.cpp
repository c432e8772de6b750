#include "platform/Processors.h"

#include <unistd.h>

namespace platform {

int ProcessorCount() {
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n >= 1 ? int(n) : 1;
}

}  // namespace platform
