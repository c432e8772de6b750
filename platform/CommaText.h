// Lists of fields in comma text, as the settings file stores them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Fields split at commas; outside double quotes, blanks and control
// characters also end a field and are skipped around fields; a quoted field
// runs to its closing quote, "" standing for one quote; a comma at the very
// end adds an empty last field. Blanks alone give no field.
std::vector<std::string> SplitCommaText(const std::string &text);
// The inverse: fields joined with commas; a field holding a blank, control
// character, comma or double quote is enclosed in quotes, its quotes doubled,
// and so is a lone empty field.
std::string JoinCommaText(const std::vector<std::string> &fields);

// The whole of `text` as a 32-bit decimal integer (optional blanks before,
// optional sign); false when it is none.
bool ParseInt32(const std::string &text, int32_t &value);
