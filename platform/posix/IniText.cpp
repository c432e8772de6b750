#include "platform/posix/IniText.h"

#include "platform/Blanks.h"

namespace platform::ini {

std::string TrimBlanks(const std::string &text) { return Trimmed(text, IsProfileBlank); }

std::string TrimLeadingBlanks(const std::string &text) {
    std::size_t start = 0;
    while (start < text.size() && IsProfileBlank(text[start])) ++start;
    return text.substr(start);
}

std::string Unquote(const std::string &value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace platform::ini
