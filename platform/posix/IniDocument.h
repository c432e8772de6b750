// An INI file held as its lines, so that one key can be changed while every
// other byte is written back exactly as it was read.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform::ini {

class TIniDocument {
public:
    // CRLF and LF line ends are both accepted and kept per line.
    explicit TIniDocument(const std::string &text);

    // Value of the first line naming `key` in the first section named
    // `section`, blanks trimmed and quotes kept. Nothing when the section or
    // key is absent, or when that line has no '=' (Windows then gives the
    // default too).
    std::optional<std::string> Find(const std::string &section, const std::string &key) const;

    // Sets the key, appending it to its section and the section to the file
    // when missing. False when the file already held exactly this value.
    bool Set(const std::string &section, const std::string &key, const std::string &value);

    std::string Text() const;

private:
    struct TLine {
        std::string text;
        std::string ending;  // "\r\n", "\n" or "" on an unterminated last line
    };
    std::vector<TLine> FLines;
    std::string FLineEnd;  // used for added lines: the file's own, else CRLF

    std::optional<std::size_t> FindSection(const std::string &section) const;
    void InsertLine(std::size_t index, const std::string &text);
};

}  // namespace platform::ini
