#include "dialog/ConfigDlg.h"

#include "dialog/DialogTexts.h"
#include "dialog/FormLayout.h"
#include "platform/Blanks.h"
#include "platform/CommaText.h"
#include "platform/SameText.h"
#include "plugins/ConfigResolver.h"
#include "plugins/PluginName.h"

using namespace dialog;

void SetVisibleTree(TControl &control, bool visible) {
    for (TControl *child : control.Children()) {
        if (child->IsWindowed())
            SetVisibleTree(*child, visible);
        else
            child->SetVisible(visible);
    }
    control.SetVisible(visible);
}

void MakeNumericEdit(TEdit &edit) { edit.AddWindowStyle(EditStyleNumber | EditStyleRight); }

TConfigDialog::TConfigDialog(const TConfigDialogModel &model, std::unique_ptr<TForm> form)
    : FModel(model), FForm(std::move(form)) {
    FForm->btnAddSize->OnClick = [this] { btnAddSizeClick(FForm->btnAddSize); };
    FForm->btnDeleteSize->OnClick = [this] { btnDeleteSizeClick(FForm->btnDeleteSize); };
    FForm->cbSizeList->OnChange = [this] { cbSizeListChange(FForm->cbSizeList); };
    FForm->cbLumaMode->OnChange = [this] { cbLumaModeChange(FForm->cbLumaMode); };
    FForm->cbSIMDMode->OnChange = [this] { cbSIMDModeChange(FForm->cbSIMDMode); };
    FForm->udLumaParam->OnChangingEx = [this](int16_t v) {
        udLumaParamChangingEx(FForm->udLumaParam, v);
    };
    FormCreate();
}

void TConfigDialog::FormCreate(TControl *) {
    for (const std::string &item : SplitCommaText(FModel.SizeList)) AddSize(item);
    if (FForm->cbSizeList->Count() == 0)
        FForm->cbSizeList->Add(FormatSize(InitialFilterConfig.Width, InitialFilterConfig.Height));
    for (int32_t i = 0; i < FModel.Plugins.WndFuncPlugins.Count(); ++i)
        FForm->cbLumaMode->Add(FModel.Plugins.WndFuncPlugins.Items(i)->name);
    FForm->cbLumaMode->Add(AreaAverageName);
    for (int32_t i = 0; i < FModel.Plugins.FilterPlugins.Count(); ++i)
        FForm->cbSIMDMode->Add(FModel.Plugins.FilterPlugins.Items(i)->name);

    // Before the panel moves, so every control takes the font with it.
    const std::vector<std::string> fonts = FForm->InstalledFonts();
    const auto installed = [&](const char *name) {
        for (const std::string &f : fonts)
            if (platform::SameText(f, name)) return true;
        return false;
    };
    if (installed("MeiryoKe_UIGothic"))
        FForm->SetFontName("MeiryoKe_UIGothic");
    else if (installed("Meiryo UI"))
        FForm->SetFontName("Meiryo UI");

    FForm->ReparentPanel(*FForm->pnlBase, FModel.FilterWindow);
    MakeNumericEdit(*FForm->edtLumaParam);
    LoadFromConfig();
}

int32_t TConfigDialog::AddSize(const std::string &text) {
    const int32_t existing = FForm->cbSizeList->IndexOf(text);
    if (existing >= 0) return existing;
    const auto [w, h] = ParseSize(text);
    const TSizeFault fault = CheckSize(w, h, FModel.HostMaxWidth, FModel.HostMaxHeight);
    if (fault == TSizeFault::BeyondLargestFrame) WarnTooLarge();
    return fault == TSizeFault::None ? ListSize(text) : -1;
}

void TConfigDialog::WarnTooLarge() {
    FForm->WarningBox(dialog_text::WarningCaption, dialog_text::TooLargeText);
}

int32_t TConfigDialog::ListSize(const std::string &text) {
    TComboBox &list = *FForm->cbSizeList;
    const auto [w, h] = ParseSize(text);
    for (int32_t i = 0; i < list.Count(); ++i) {
        const auto [wi, hi] = ParseSize(list.Item(i));
        if (wi > w || (wi == w && hi >= h)) {
            list.Insert(i, text);
            return i;
        }
    }
    return list.Add(text);
}

void TConfigDialog::UpdateDeleteButton() {
    FForm->btnDeleteSize->SetEnabled(FForm->cbSizeList->Count() > 1);
}

void TConfigDialog::StoreSizeList() { FModel.SizeList = FForm->cbSizeList->CommaText(); }

void TConfigDialog::btnAddSizeClick(TControl *) {
    std::string text;
    if (!FForm->InputQuery(dialog_text::AddSizeCaption, dialog_text::AddSizePrompt, text)) return;
    const int32_t index = AddSize(platform::Trimmed(text, platform::IsBlankOrControl));
    if (index < 0) return;
    FForm->cbSizeList->SetItemIndex(index);
    UpdateDeleteButton();
    StoreSizeList();
    cbSizeListChange();
}

void TConfigDialog::btnDeleteSizeClick(TControl *) {
    TComboBox &list = *FForm->cbSizeList;
    int32_t i = list.ItemIndex();
    // The button is disabled with one size left; nothing is selected only
    // when the window system lost the selection, and then nothing goes.
    if (i < 0 || list.Count() <= 1) return;
    list.Delete(i);
    if (i == list.Count()) --i;
    list.SetItemIndex(i);
    UpdateDeleteButton();
    StoreSizeList();
    list.Repaint();
    cbSizeListChange();
}

void TConfigDialog::cbSizeListChange(TControl *) {
    const auto [w, h] = ParseSize(FForm->cbSizeList->Text());
    FModel.Config.Width = w;
    FModel.Config.Height = h;
    NotifyChange();
}

void TConfigDialog::cbLumaModeChange(TControl *) {
    const int32_t i = FForm->cbLumaMode->ItemIndex();
    if (i < 0) return;
    {
        const TNotifyLock lock(*this);
        FModel.Config = WithFuncEntry(FModel.Config, Offer(), i);
        UpdateParamPanel();
    }
    NotifyChange();
}

const WindowFuncPluginInfo *TConfigDialog::SelectedWindowFunc() const {
    // "AreaAverage", after the plug-ins, is out of the list's range: null.
    return FModel.Plugins.WndFuncPlugins.Items(FForm->cbLumaMode->ItemIndex());
}

void TConfigDialog::UpdateParamPanel() {
    const WindowFuncPluginInfo *info = SelectedWindowFunc();
    if (!info || !info->paramName) {
        SetVisibleTree(*FForm->pnlLumaParam, false);
        return;
    }
    TUpDown &ud = *FForm->udLumaParam;
    ud.SetMin(info->paramMin);
    ud.SetMax(info->paramMax);
    ud.SetPosition(FModel.Plugins.WndFuncParams[FForm->cbLumaMode->ItemIndex()]);
    FForm->pnlLumaParam->SetCaption(info->paramName);
    SetVisibleTree(*FForm->pnlLumaParam, true);
}

void TConfigDialog::udLumaParamChangingEx(TControl *, int16_t NewValue) {
    const int32_t i = FForm->cbLumaMode->ItemIndex();
    if (i < 0) return;
    // Only a window function with a parameter shows the control; the check
    // also keeps "AreaAverage" from reaching past the parameter array.
    const WindowFuncPluginInfo *info = SelectedWindowFunc();
    if (!info || !InLimits(FuncOffer(*info, NewValue), NewValue)) return;
    FModel.Plugins.WndFuncParams[i] = NewValue;
    FModel.Config.WndFuncParam = NewValue;
    NotifyChange();
}

void TConfigDialog::cbSIMDModeChange(TControl *) {
    if (FForm->cbSIMDMode->ItemIndex() >= 0)
        StoreName(FForm->cbSIMDMode->Text(), FModel.Config.FilterPluginName);
    NotifyChange();
}

void TConfigDialog::NotifyChange() {
    if (FNotifyLock != 0) return;
    if (FModel.ApplyConfig) FModel.ApplyConfig();
    FForm->SendWindowMessage(FModel.FilterWindow, WM_CONFIG_CHANGED, 0, 0);
}

TConfigOffer TConfigDialog::Offer() const {
    TConfigOffer offer = FModel.Plugins.Offer(FModel.HostMaxWidth, FModel.HostMaxHeight);
    offer.DialogShown = true;
    offer.ListedSizes = FForm->cbSizeList->Items();
    return offer;
}

void TConfigDialog::ShowSize(const TConfigResolution &r) {
    if (r.SizeRefused == TSizeFault::BeyondLargestFrame) WarnTooLarge();
    const int32_t index =
        r.SizeEntry >= 0 ? r.SizeEntry : ListSize(FormatSize(r.Shown.Width, r.Shown.Height));
    FForm->cbSizeList->SetItemIndex(index);
}

void TConfigDialog::LoadFromConfig() {
    const TNotifyLock lock(*this);
    const TConfigResolution r = ResolveConfig(FModel.Config, Offer());
    FModel.Config = r.Shown;
    ShowSize(r);
    FForm->cbLumaMode->SetItemIndex(r.FuncEntry);
    UpdateParamPanel();
    if (r.KernelEntry >= 0) FForm->cbSIMDMode->SetItemIndex(r.KernelEntry);
    UpdateDeleteButton();
}
