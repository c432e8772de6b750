#include "dialog/DialogControls.h"

#include "dialog/FormLayout.h"
#include "platform/CommaText.h"
#include "platform/SameText.h"

namespace dialog {

int32_t TComboBox::IndexOf(const std::string &text) const {
    return platform::FindName(Items(), text);
}

std::string TComboBox::Text() const {
    const int32_t i = ItemIndex();
    return i >= 0 && i < Count() ? Item(i) : std::string();
}

std::vector<std::string> TComboBox::Items() const {
    std::vector<std::string> items;
    for (int32_t i = 0; i < Count(); ++i) items.push_back(Item(i));
    return items;
}

std::string TComboBox::CommaText() const { return JoinCommaText(Items()); }

void RaiseEvent(const std::function<void()> &handler) noexcept {
    try {
        if (handler) handler();
    } catch (...) {
        // The window system called us; the change is simply not made.
    }
}

void TForm::BindControls(TControl *const *made) {
    pnlBase = static_cast<TPanel *>(made[idBase]);
    btnAddSize = static_cast<TButton *>(made[idAddSize]);
    btnDeleteSize = static_cast<TButton *>(made[idDeleteSize]);
    cbLumaMode = static_cast<TComboBox *>(made[idLumaMode]);
    cbSizeList = static_cast<TComboBox *>(made[idSizeList]);
    Label1 = made[idLabel1];
    Label2 = made[idLabel2];
    pnlLumaParam = static_cast<TPanel *>(made[idLumaParam]);
    edtLumaParam = static_cast<TEdit *>(made[idParamEdit]);
    udLumaParam = static_cast<TUpDown *>(made[idParamUpDown]);
    Label4 = made[idLabel4];
    cbSIMDMode = static_cast<TComboBox *>(made[idSIMDMode]);
}

}  // namespace dialog
