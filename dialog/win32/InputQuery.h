// The modal text prompt: caption, prompt, an edit box with the initial text,
// OK and Cancel. Enter answers OK, Escape cancels.
#pragma once
#include <string>

#include <windows.h>

namespace dialog {

// The module that holds the dialog's code (the filter), for its window
// classes and templates.
HINSTANCE ThisModule();

// Identifier of the prompt's edit box, for whoever answers it.
constexpr int PromptEditId = 100;

// False when cancelled or when the prompt cannot be shown.
bool Win32InputQuery(HWND owner, const std::string &fontName, const std::string &caption,
                     const std::string &prompt, std::string &value);

}  // namespace dialog
