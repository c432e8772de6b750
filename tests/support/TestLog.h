// The log of the test-only libraries: each appends one line per event
// ("load NAME" as the system loads it, "unload NAME" as it unloads it, and
// whatever else it reports) to the file that MORVANE_TEST_LOG names, so a
// test sees which libraries were loaded, in which order and with what. The
// writing half is inline: the libraries link nothing of the tests.
#pragma once
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace test_log {

inline constexpr char Variable[] = "MORVANE_TEST_LOG";

// One line, printf-style; nothing while no log is named.
inline void Line(const char *format, ...) __attribute__((format(printf, 1, 2)));
inline void Line(const char *format, ...) {
    const char *path = std::getenv(Variable);
    if (!path || !*path) return;
    FILE *f = std::fopen(path, "ab");  // "\n" alone on every system
    if (!f) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fputc('\n', f);
    std::fclose(f);
}

// A library's static object: its load and unload lines, after `name`
// unless that is empty.
class TLoadLines {
public:
    explicit TLoadLines(const char *name = "") : FName(name) { Write("load"); }
    ~TLoadLines() { Write("unload"); }

private:
    void Write(const char *verb) const {
        if (*FName)
            Line("%s %s", verb, FName);
        else
            Line("%s", verb);
    }
    const char *FName;
};

// The test's half: the log directed to a fresh file for the life of the object.
class TLogFile {
public:
    TLogFile();
    ~TLogFile();
    TLogFile(const TLogFile &) = delete;
    TLogFile &operator=(const TLogFile &) = delete;
    // The lines so far, in order.
    std::vector<std::string> Lines() const;

private:
    testing_support::TempDir FDir;
    std::string FPath;
};

}  // namespace test_log
