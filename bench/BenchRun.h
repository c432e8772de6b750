// What the whole-filter benchmarks share: where the filter is, the
// machine's load, and main's fault line.
#pragma once
#include <string>

namespace bench {

// Morvane.auf in ../dist beside the benchmark programs.
std::string FilterBesideBench();
// The load average over 1, 5 and 15 minutes, as text.
std::string Load();
// run's result, or 1 with one line naming the program and the fault.
int RunReportingFaults(const char *program, int (*run)());

}  // namespace bench
