// Writing a whole output file at once, through TOutputFile: all or nothing
// for a regular file, in place for a FIFO or a device.
#pragma once
#include <string>

// Throws THostError naming `path` and the fault; the temporary file is gone
// by then and any existing file at `path` is untouched.
void WriteFileAtomically(const std::string &path, const std::string &bytes);
