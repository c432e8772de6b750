// The filter's settings window that the host hands over with WM_FILTER_INIT.
// On Windows a hidden tool window of the size the filter registered, as the
// editor makes it (a message-only window where the system has no display);
// elsewhere there are no windows, so the handle is an opaque token that is
// only compared, never used.
#pragma once
#include "abi/HostAbi.h"

class THostWindow {
public:
    // `width` × `height`: the outer size, frame and caption included.
    // Throws THostError when the system refuses the window.
    THostWindow(int width, int height);
    ~THostWindow();
    THostWindow(const THostWindow &) = delete;
    THostWindow &operator=(const THostWindow &) = delete;

    HWND Handle() const { return FHandle; }
    // Handles what is queued for the window thread, such as a dialog's
    // deferred release. Does nothing where there are no windows.
    static void PumpMessages();

private:
    HWND FHandle = nullptr;
};
