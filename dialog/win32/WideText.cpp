#include "dialog/win32/WideText.h"

#include <windows.h>

namespace dialog {

namespace {
constexpr UINT Cp932 = 932;
}

std::wstring WideFromCp932(const std::string &text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(Cp932, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(Cp932, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

std::string Cp932FromWide(const std::wstring &text) {
    if (text.empty()) return {};
    const int n =
        WideCharToMultiByte(Cp932, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(Cp932, 0, text.data(), int(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, text.data(), int(text.size())));
    return text;
}

}  // namespace dialog
