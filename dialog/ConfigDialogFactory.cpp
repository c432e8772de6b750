#include "dialog/ConfigDialogFactory.h"

#include <algorithm>
#include <vector>

#include "dialog/HeadlessForm.h"
#ifdef _WIN32
#include "dialog/win32/Win32Form.h"
#endif

namespace {

HWND Owner = nullptr;

// Dialogs released but not yet freed. Should the module be unloaded before
// the host handles their queued messages, they go with it, so that no window
// is left whose procedure is gone.
class TPendingReleases {
public:
    ~TPendingReleases() {
        while (!FDialogs.empty()) Free(FDialogs.back());
    }
    void Add(TConfigDialog *d) { FDialogs.push_back(d); }
    void Free(TConfigDialog *d) {
        const auto it = std::find(FDialogs.begin(), FDialogs.end(), d);
        if (it == FDialogs.end()) return;
        FDialogs.erase(it);
        delete d;
    }

private:
    std::vector<TConfigDialog *> FDialogs;
} Pending;

}  // namespace

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
    Pending.Add(d);
    d->Form().PostRelease([d] { Pending.Free(d); });
}
