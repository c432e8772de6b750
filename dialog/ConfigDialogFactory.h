// Making and releasing the dialog with the controls this system offers.
#pragma once
#include <memory>
#include <vector>

#include "dialog/ConfigDlg.h"

// The filter's dialogs, one keeper for the life of the module: it keeps the
// owner of the plug-in's own windows and frees, when it goes, the dialogs
// released but not yet freed, so that no window is left whose procedure
// went with the module.
class TConfigDialogs {
public:
    TConfigDialogs() = default;
    ~TConfigDialogs();
    TConfigDialogs(const TConfigDialogs &) = delete;
    TConfigDialogs &operator=(const TConfigDialogs &) = delete;

    // Real child windows on Windows (in-memory controls where the system
    // gives no windows, as on a server); in-memory controls elsewhere. The
    // dialog places its panel into the model's filter window.
    std::unique_ptr<TConfigDialog> Make(const TConfigDialogModel &model);
    // Destroys the dialog once the messages already queued for it are handled.
    void Release(std::unique_ptr<TConfigDialog> dialog);

    // The owner of the plug-in's own windows (the add-size prompt): the first
    // window offered.
    void SetOwnerWindowOnce(HWND window) {
        if (!FOwner) FOwner = window;
    }
    HWND OwnerWindow() const { return FOwner; }

private:
    void Free(TConfigDialog *dialog);

    HWND FOwner = nullptr;
    std::vector<TConfigDialog *> FReleased;
};
