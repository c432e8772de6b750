#include "host/DialogHookup.h"

#include "dialog/ConfigDialogFactory.h"
#include "host/PluginMain.h"

namespace {

// Nothing thrown by the dialog reaches the editor: a failed refresh leaves
// the controls as they were.
class THostedDialog : public TConfigDialogBase {
public:
    THostedDialog(TConfigDialogs &dialogs, std::unique_ptr<TConfigDialog> dialog)
        : FDialogs(dialogs), FDialog(std::move(dialog)) {}
    ~THostedDialog() override { FDialogs.Release(std::move(FDialog)); }
    void LoadFromConfig() override {
        try {
            FDialog->LoadFromConfig();
        } catch (...) {}
    }

private:
    TConfigDialogs &FDialogs;
    std::unique_ptr<TConfigDialog> FDialog;
};

}  // namespace

TConfigDialogModel HostedDialogModel(HWND filterWindow) {
    TFilterState &s = FilterState;
    return {s.FilterConfig,  s.SizeList,           s.Plugins, filterWindow, s.HostMaxWidth,
            s.HostMaxHeight, [] { ApplyConfig(); }};
}

TConfigDialogBase *MakeHostedConfigDialog(HWND filterWindow) {
    try {
        TConfigDialogs &dialogs = FilterState.Dialogs;
        dialogs.SetOwnerWindowOnce(filterWindow);
        return new THostedDialog(dialogs, dialogs.Make(HostedDialogModel(filterWindow)));
    } catch (...) {
        return nullptr;
    }
}
