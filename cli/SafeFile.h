// Writing an output file so that a failure never leaves a half-written one:
// the bytes go to a temporary file in the same folder, which is then renamed
// over the target in one step.
#pragma once
#include <string>

// Throws THostError naming `path` and the fault; the temporary file is gone
// by then and any existing file at `path` is untouched.
void WriteFileAtomically(const std::string &path, const std::string &bytes);
