#include "platform/CommaText.h"

#include <cstdint>
#include <limits>

#include "platform/Blanks.h"

namespace {

using platform::IsCommaBlank;

std::size_t SkipBlanks(const std::string &s, std::size_t p) {
    while (p < s.size() && IsCommaBlank(s[p])) ++p;
    return p;
}

// A quoted field from the opening quote at p; p ends after the closing quote.
std::string QuotedField(const std::string &s, std::size_t &p) {
    std::string field;
    ++p;
    while (p < s.size()) {
        if (s[p] == '"') {
            if (p + 1 < s.size() && s[p + 1] == '"') {
                field += '"';
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        field += s[p++];
    }
    return field;
}

// Commas and quotes would end or open a field when read back.
bool NeedsQuotes(const std::string &field) {
    for (char c : field)
        if (platform::IsBlankOrControl(c) || c == ',' || c == '"') return true;
    return false;
}

}  // namespace

std::vector<std::string> SplitCommaText(const std::string &s) {
    std::vector<std::string> fields;
    std::size_t p = SkipBlanks(s, 0);
    while (p < s.size()) {
        if (s[p] == '"') {
            fields.push_back(QuotedField(s, p));
        } else {
            const std::size_t begin = p;
            while (p < s.size() && !IsCommaBlank(s[p]) && s[p] != ',') ++p;
            fields.push_back(s.substr(begin, p - begin));
        }
        p = SkipBlanks(s, p);
        if (p < s.size() && s[p] == ',') {
            if (p + 1 == s.size()) fields.emplace_back();
            p = SkipBlanks(s, p + 1);
        }
    }
    return fields;
}

std::string JoinCommaText(const std::vector<std::string> &fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) text += ',';
        // A lone empty field written bare would read back as no field at all.
        if (!NeedsQuotes(fields[i]) && !(fields.size() == 1 && fields[i].empty())) {
            text += fields[i];
            continue;
        }
        text += '"';
        for (char c : fields[i]) text += c == '"' ? std::string("\"\"") : std::string(1, c);
        text += '"';
    }
    return text;
}

bool ParseInt32(const std::string &text, int32_t &value) {
    std::size_t p = SkipBlanks(text, 0);
    bool negative = false;
    if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
    if (p == text.size()) return false;
    int64_t v = 0;
    for (; p < text.size(); ++p) {
        if (text[p] < '0' || text[p] > '9') return false;
        v = v * 10 + (text[p] - '0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    value = int32_t(v);
    return true;
}
