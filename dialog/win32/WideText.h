// CP932 bytes to and from the system's wide characters.
#pragma once
#include <string>

namespace dialog {

std::wstring WideFromCp932(const std::string &text);
std::string Cp932FromWide(const std::wstring &text);

}  // namespace dialog
