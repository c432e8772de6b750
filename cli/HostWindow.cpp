#include "cli/HostWindow.h"

#include "cli/HostError.h"

#ifdef _WIN32

namespace {

const char *const kWindowClass = "MorvaneStandinHostWindow";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

void RegisterOnce() {
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassA(&wc);
    }();
    if (!atom) throw THostError("cannot register the filter window class");
}

}  // namespace

THostWindow::THostWindow() {
    RegisterOnce();
    // The size of the editor's filter window is irrelevant while it is hidden.
    FHandle = CreateWindowExA(0, kWindowClass, "Morvane stand-in host", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 320, 240, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    // Without a display (wine on a server) there are no top-level windows;
    // a message-only window still receives what the plug-in sends.
    if (!FHandle)
        FHandle = CreateWindowExA(0, kWindowClass, "Morvane stand-in host", 0, 0, 0, 320, 240,
                                  HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!FHandle) throw THostError("cannot create the filter window");
}

THostWindow::~THostWindow() { DestroyWindow(FHandle); }

void THostWindow::PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

#else

namespace {
char WindowToken;  // its address is the handle
}

THostWindow::THostWindow() : FHandle(&WindowToken) {}

THostWindow::~THostWindow() = default;

void THostWindow::PumpMessages() {}

#endif
