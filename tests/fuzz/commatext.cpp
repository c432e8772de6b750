// The comma-text splitter and writer: whatever a value splits into is written
// back as text that splits into the same fields, and so is any list of fields.
// The dialog's size parser on the same texts and on every field: a size is
// both sides positive or (0, 0), and a size parsed reads back the same.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog/ConfigDlg.h"
#include "platform/CommaText.h"

namespace {

void ExpectRoundTrip(const std::vector<std::string> &fields) {
    if (SplitCommaText(JoinCommaText(fields)) == fields) return;
    std::fprintf(stderr, "commatext: %zu fields do not survive join -> split\n", fields.size());
    std::abort();
}

void ExpectSize(const std::string &text) {
    const auto [width, height] = ParseSize(text);
    if (width == 0 && height == 0) return;
    if (width > 0 && height > 0 &&
        ParseSize(std::to_string(width) + "x" + std::to_string(height)) ==
            std::make_pair(width, height))
        return;
    std::fprintf(stderr, "commatext: size %d x %d from %zu bytes\n", int(width), int(height),
                 text.size());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    ExpectRoundTrip(SplitCommaText(text));

    // The input read as fields cut at NUL bytes.
    std::vector<std::string> fields(1);
    for (char c : text) c ? fields.back() += c : fields.emplace_back();
    ExpectRoundTrip(fields);

    ExpectSize(text);
    for (const std::string &field : SplitCommaText(text)) ExpectSize(field);

    int32_t value;
    if (ParseInt32(text, value)) {
        int32_t again;
        if (!ParseInt32(std::to_string(value), again) || again != value) std::abort();
    }
    return 0;
}
