// The `morvane` tool as a function, so that tests run it in-process.
#pragma once
#include <ostream>
#include <string>
#include <vector>

// Exit status: 0 done, 1 a file or plug-in fault, 2 a bad command line.
// Reports go to `out`; a fault is one line on `err`.
int RunTool(const std::vector<std::string> &args, const std::string &defaultFilterPath,
            std::ostream &out, std::ostream &err);
