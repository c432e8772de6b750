// Where the running code lives.
#pragma once
#include <string>

namespace platform {

// Full path of the library or program that contains `address` ("" if unknown).
std::string ModulePathOf(const void *address);

}  // namespace platform
