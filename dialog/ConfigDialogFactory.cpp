#include "dialog/ConfigDialogFactory.h"

#include "dialog/HeadlessForm.h"
#ifdef _WIN32
#include "dialog/win32/Win32Form.h"
#endif

namespace {
HWND Owner = nullptr;
}

void SetOwnerWindowOnce(HWND window) {
    if (!Owner) Owner = window;
}

HWND OwnerWindow() { return Owner; }

std::unique_ptr<TConfigDialog> MakeConfigDialog(const TConfigDialogModel &model) {
#ifdef _WIN32
    if (std::unique_ptr<dialog::TForm> form = dialog::MakeWin32Form(OwnerWindow()))
        return std::make_unique<TConfigDialog>(model, std::move(form));
    auto headless = std::make_unique<dialog::THeadlessForm>();
    headless->FOnSend = [](const dialog::TSentMessage &m) {
        SendMessageW(m.Window, m.Message, m.WParam, m.LParam);
    };
    return std::make_unique<TConfigDialog>(model, std::move(headless));
#else
    return std::make_unique<TConfigDialog>(model, std::make_unique<dialog::THeadlessForm>());
#endif
}

void ReleaseConfigDialog(std::unique_ptr<TConfigDialog> dialog) {
    if (!dialog) return;
    TConfigDialog *d = dialog.release();
    d->Form().PostRelease([d] { delete d; });
}
