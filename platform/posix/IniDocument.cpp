#include "platform/posix/IniDocument.h"

#include "platform/SameText.h"
#include "platform/posix/IniText.h"

namespace platform::ini {

namespace {

// A line read as the profile functions read it: a "[name]" header, a key with
// or without "=value", or blank.
struct TParsedLine {
    enum { Blank, Header, Key } kind = Blank;
    std::string name;
    std::optional<std::string> value;
};

TParsedLine Parse(const std::string &line) {
    TParsedLine parsed;
    const std::string text = TrimBlanks(line);
    if (text.empty()) return parsed;
    const std::size_t close = text.rfind(']');
    if (text[0] == '[' && close != std::string::npos) {
        // Windows keeps blanks inside the brackets as part of the name.
        parsed.kind = TParsedLine::Header;
        parsed.name = text.substr(1, close - 1);
        return parsed;
    }
    parsed.kind = TParsedLine::Key;
    const std::size_t equals = text.find('=');
    parsed.name = TrimBlanks(text.substr(0, equals));
    if (equals != std::string::npos) parsed.value = TrimBlanks(text.substr(equals + 1));
    return parsed;
}

}  // namespace

TIniDocument::TIniDocument(const std::string &text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string::npos) {
            FLines.push_back({text.substr(start), ""});
            break;
        }
        const bool crlf = newline > start && text[newline - 1] == '\r';
        const std::size_t end = crlf ? newline - 1 : newline;
        FLines.push_back({text.substr(start, end - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    FLineEnd = !FLines.empty() && !FLines[0].ending.empty() ? FLines[0].ending : "\r\n";
}

std::optional<std::size_t> TIniDocument::FindSection(const std::string &section) const {
    const std::string wanted = TrimBlanks(section);
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TParsedLine line = Parse(FLines[i].text);
        if (line.kind == TParsedLine::Header && SameText(line.name, wanted)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniDocument::Find(const std::string &section,
                                              const std::string &key) const {
    const auto header = FindSection(section);
    if (!header) return std::nullopt;
    const std::string wanted = TrimBlanks(key);
    for (std::size_t i = *header + 1; i < FLines.size(); ++i) {
        const TParsedLine line = Parse(FLines[i].text);
        if (line.kind == TParsedLine::Header) break;
        if (line.kind == TParsedLine::Key && SameText(line.name, wanted)) return line.value;
    }
    return std::nullopt;
}

bool TIniDocument::Set(const std::string &section, const std::string &key,
                       const std::string &value) {
    const std::string name = TrimBlanks(key);
    const std::string stored = TrimLeadingBlanks(value);
    const auto header = FindSection(section);
    if (!header) {
        InsertLine(FLines.size(), "[" + TrimBlanks(section) + "]");
        InsertLine(FLines.size(), name + "=" + stored);
        return true;
    }
    std::size_t last = *header;  // last non-blank line of the section
    for (std::size_t i = *header + 1; i < FLines.size(); ++i) {
        const TParsedLine line = Parse(FLines[i].text);
        if (line.kind == TParsedLine::Header) break;
        if (line.kind == TParsedLine::Blank) continue;
        last = i;
        if (!SameText(line.name, name)) continue;
        if (line.value == stored) return false;
        FLines[i].text = line.name + "=" + stored;
        return true;
    }
    // After the section's last entry, so blank lines before the next section stay there.
    InsertLine(last + 1, name + "=" + stored);
    return true;
}

void TIniDocument::InsertLine(std::size_t index, const std::string &text) {
    if (index > 0 && FLines[index - 1].ending.empty()) FLines[index - 1].ending = FLineEnd;
    FLines.insert(FLines.begin() + std::ptrdiff_t(index), TLine{text, FLineEnd});
}

std::string TIniDocument::Text() const {
    std::string text;
    for (const TLine &line : FLines) text += line.text + line.ending;
    return text;
}

}  // namespace platform::ini
