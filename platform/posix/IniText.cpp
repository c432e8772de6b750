#include "platform/posix/IniText.h"

namespace platform::ini {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string TrimBlanks(const std::string &text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    std::size_t start = 0;
    while (start < end && IsBlank(text[start])) ++start;
    return text.substr(start, end - start);
}

std::string TrimLeadingBlanks(const std::string &text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::string Unquote(const std::string &value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace platform::ini
