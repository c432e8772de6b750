// Processor count.
#pragma once

namespace platform {

// Logical processors available to the process, at least 1.
int ProcessorCount();

}  // namespace platform
