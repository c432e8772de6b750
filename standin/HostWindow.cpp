#include "standin/HostWindow.h"

#include "standin/HostError.h"

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

THostWindow::THostWindow(int width, int height) {
    RegisterOnce();
    // The editor's filter windows are tool windows with a caption and a
    // close box, not resizable: the client area is what the filter gets.
    FHandle = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "Morvane stand-in host",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                              width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    // Without a display (wine on a server) there are no top-level windows;
    // a message-only window still receives what the plug-in sends.
    if (!FHandle)
        FHandle = CreateWindowExA(0, kWindowClass, "Morvane stand-in host", 0, 0, 0, width, height,
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

THostWindow::THostWindow(int, int) : FHandle(&WindowToken) {}

THostWindow::~THostWindow() = default;

void THostWindow::PumpMessages() {}

#endif
