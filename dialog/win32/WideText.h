// CP932 bytes to and from the system's wide characters, and a window's
// text in them.
#pragma once
#include <windows.h>

#include <string>

namespace dialog {

std::wstring WideFromCp932(const std::string &text);
std::string Cp932FromWide(const std::wstring &text);
std::wstring WindowText(HWND hwnd);

}  // namespace dialog
