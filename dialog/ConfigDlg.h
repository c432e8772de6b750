// The configuration dialog: edits the size list and picks the target size,
// the window function with its parameter and the kernel. Every choice is
// written into the saved block at once, applied, and told to the filter
// window.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "dialog/ConfigDialogModel.h"
#include "dialog/DialogControls.h"
#include "platform/SizeText.h"
#include "plugins/PluginName.h"

class TConfigDialog {
public:
    // Takes the form with its controls and fills them (FormCreate).
    TConfigDialog(const TConfigDialogModel &model, std::unique_ptr<dialog::TForm> form);
    TConfigDialog(const TConfigDialog &) = delete;
    TConfigDialog &operator=(const TConfigDialog &) = delete;

    dialog::TForm &Form() { return *FForm; }

    // Handlers; the sender is ignored, the dialog calls the list handlers itself.
    void FormCreate(dialog::TControl *Sender = nullptr);
    void cbSizeListChange(dialog::TControl *Sender = nullptr);
    void btnAddSizeClick(dialog::TControl *Sender = nullptr);
    void btnDeleteSizeClick(dialog::TControl *Sender = nullptr);
    void cbLumaModeChange(dialog::TControl *Sender = nullptr);
    void udLumaParamChangingEx(dialog::TControl *Sender, int16_t NewValue);
    void cbSIMDModeChange(dialog::TControl *Sender = nullptr);

    // Shows the saved block in the controls (and may correct it); sends nothing.
    void LoadFromConfig();

private:
    void NotifyChange();
    void LockNotify() { ++FNotifyLock; }
    void UnlockNotify() { --FNotifyLock; }
    int32_t AddSize(const std::string &text);
    void UpdateParamPanel();
    void UpdateDeleteButton();
    void StoreSizeList();
    const WindowFuncPluginInfo *SelectedWindowFunc() const;

    TConfigDialogModel FModel;
    std::unique_ptr<dialog::TForm> FForm;
    int32_t FNotifyLock = 0;
};

// A name into a block's field, as the block stores every name
// (WriteConfigName: a 32-byte name has no NUL; a longer one is cut).
inline void StoreName(const std::string &text, char (&field)[PluginNameBytes]) {
    WriteConfigName(field, text);
}
// Children first, panels recursively, the control itself last.
void SetVisibleTree(dialog::TControl &control, bool visible);
// Digits-only, right-aligned input.
void MakeNumericEdit(dialog::TEdit &edit);

// Window styles of an edit box (the system's values).
constexpr uint32_t EditStyleRight = 0x0002;
constexpr uint32_t EditStyleNumber = 0x2000;
