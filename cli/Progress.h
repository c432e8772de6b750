// Progress on one line of a terminal, rewritten in place: how many of how
// many, the share, the rate and the time left where the total is known;
// how many and the rate where it is not (a pipe).
#pragma once
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

// The line for `done` things (`unit`: "frames", "inputs") of `total` (0:
// not known) after `seconds`. A total that the count has passed (an
// estimate from a file's size) is dropped.
std::string ProgressText(int done, int total, double seconds, const std::string &unit);

class TProgress {
public:
    // Nothing is shown without `out`.
    TProgress(std::ostream *out, int total, std::string unit);
    void Show(int done);
    // Clears the line, so that what is written next starts at its beginning.
    void Clear();
    // Leaves the last line shown in place.
    void End();

private:
    std::ostream *FOut;
    int FTotal;
    std::string FUnit;
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
    bool FShown = false;
};

// The frames a regular file of `fileBytes` holds after a stream header of
// `headerBytes`, each frame of `frameBytes` after a bare frame line (frame
// lines with tags make it an estimate, which ProgressText drops once passed).
int StreamFrameCount(int64_t fileBytes, int64_t headerBytes, int64_t frameBytes);
