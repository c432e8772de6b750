// Processor time of the whole process, every thread's: a frame's cost that
// other programs' load barely changes, where the wall clock counts their
// turns as well.
#pragma once
#include <time.h>

inline double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}
