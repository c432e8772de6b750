// What the stand-in host and the tool throw: one line of text that already
// names the file or the setting at fault.
#pragma once
#include <stdexcept>

class THostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
