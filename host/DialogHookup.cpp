#include "host/DialogHookup.h"

#include "dialog/ConfigDialogFactory.h"
#include "host/PluginMain.h"

namespace {

// Nothing thrown by the dialog reaches the editor: a failed refresh leaves
// the controls as they were.
class THostedDialog : public TConfigDialogBase {
public:
    explicit THostedDialog(std::unique_ptr<TConfigDialog> dialog) : FDialog(std::move(dialog)) {}
    ~THostedDialog() override { ReleaseConfigDialog(std::move(FDialog)); }
    void LoadFromConfig() override {
        try {
            FDialog->LoadFromConfig();
        } catch (...) {
        }
    }

private:
    std::unique_ptr<TConfigDialog> FDialog;
};

}  // namespace

TConfigDialogModel HostedDialogModel(HWND filterWindow) {
    TFilterState &s = FilterState;
    return {s.FilterConfig,  s.SizeList,      s.Plugins,
            filterWindow,    s.HostMaxWidth,  s.HostMaxHeight, [] { ApplyConfig(); }};
}

TConfigDialogBase *MakeHostedConfigDialog(HWND filterWindow) {
    try {
        SetOwnerWindowOnce(filterWindow);
        return new THostedDialog(MakeConfigDialog(HostedDialogModel(filterWindow)));
    } catch (...) {
        return nullptr;
    }
}
