// Making and releasing the dialog with the controls this system offers.
#pragma once
#include <memory>

#include "dialog/ConfigDlg.h"

// Real child windows on Windows (in-memory controls where the system gives
// no windows, as on a server); in-memory controls elsewhere. The dialog
// places its panel into the model's filter window.
std::unique_ptr<TConfigDialog> MakeConfigDialog(const TConfigDialogModel &model);
// Destroys the dialog once the messages already queued for it are handled.
void ReleaseConfigDialog(std::unique_ptr<TConfigDialog> dialog);

// The owner of the plug-in's own windows (the add-size prompt): the first
// window offered, kept for the life of the module.
void SetOwnerWindowOnce(HWND window);
HWND OwnerWindow();
