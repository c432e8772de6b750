// The dialog's form on real Win32 child windows: the panel with its controls,
// moved into the host's filter window; texts in CP932, shown through the
// wide-character API whatever the system's code page.
#pragma once
#include <memory>

#include "dialog/DialogControls.h"

namespace dialog {

// Null when the system gives no windows (no display).
std::unique_ptr<TForm> MakeWin32Form(HWND owner);

// Registered name of the panel's window class, for finding the controls.
constexpr const wchar_t *PanelClassName = L"MorvaneConfigPanel";

}  // namespace dialog
