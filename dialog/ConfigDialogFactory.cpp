#include "dialog/ConfigDialogFactory.h"

#include <algorithm>

#include "dialog/HeadlessForm.h"
#ifdef _WIN32
#include "dialog/win32/Win32Form.h"
#endif

TConfigDialogs::~TConfigDialogs() {
    while (!FReleased.empty()) Free(FReleased.back());
}

void TConfigDialogs::Free(TConfigDialog *dialog) {
    const auto it = std::find(FReleased.begin(), FReleased.end(), dialog);
    if (it == FReleased.end()) return;
    FReleased.erase(it);
    delete dialog;
}

std::unique_ptr<TConfigDialog> TConfigDialogs::Make(const TConfigDialogModel &model) {
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

void TConfigDialogs::Release(std::unique_ptr<TConfigDialog> dialog) {
    if (!dialog) return;
    TConfigDialog *d = dialog.release();
    FReleased.push_back(d);
    d->Form().PostRelease([this, d] { Free(d); });
}
