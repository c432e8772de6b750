// Which bytes count as blank. Each kind of text has its own rule; each rule
// is written here once, under a name that says whose it is.
#pragma once
#include <string>

namespace platform {

// Comma text and the integers in it: bytes 1 to 32 end a field and are
// skipped around it.
constexpr bool IsCommaBlank(char c) { return c >= 1 && c <= ' '; }

// Blanks and control characters, NUL and DEL included: what a comma-text
// field cannot hold without quotes.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == 127; }

// INI files as the Win32 profile functions read them: white space and
// Ctrl-Z (an old end-of-file mark).
constexpr bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

// `text` without the bytes at either end that `isBlank` takes.
template <class IsBlank>
std::string Trimmed(const std::string &text, IsBlank isBlank) {
    std::size_t begin = 0, end = text.size();
    while (end > begin && isBlank(text[end - 1])) --end;
    while (begin < end && isBlank(text[begin])) ++begin;
    return text.substr(begin, end - begin);
}

}  // namespace platform
