#include "dialog/HeadlessForm.h"

#include <stdexcept>

namespace dialog {

int32_t THeadlessComboBox::Add(const std::string &text) {
    FItems.push_back(text);
    return Count() - 1;
}

void THeadlessComboBox::Insert(int32_t index, const std::string &text) {
    if (index < 0 || index > Count()) throw std::out_of_range("list index");
    FItems.insert(FItems.begin() + index, text);
    if (FIndex >= index) ++FIndex;
}

// As the system's list: deleting the selected item leaves none selected.
void THeadlessComboBox::Delete(int32_t index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("list index");
    FItems.erase(FItems.begin() + index);
    if (FIndex == index)
        FIndex = -1;
    else if (FIndex > index)
        --FIndex;
}

void THeadlessComboBox::SetItemIndex(int32_t index) {
    FIndex = index >= 0 && index < Count() ? index : -1;
}

void THeadlessUpDown::Click(int delta) {
    const int next = FPosition + delta;
    RaiseEvent([&] {
        if (OnChangingEx) OnChangingEx(int16_t(next));
    });
    if (next >= FMin && next <= FMax) FPosition = int16_t(next);
}

THeadlessForm::THeadlessForm() {
    TControl *made[ControlCount] = {};
    for (int id = 0; id < ControlCount; ++id) {
        const TControlLayout &l = FormLayout[id];
        std::unique_ptr<TControl> c;
        THeadlessControl *state = nullptr;
        switch (l.Kind) {
        case TControlKind::Panel: {
            auto p = std::make_unique<THeadlessPanel>();
            state = p.get();
            c = std::move(p);
            break;
        }
        case TControlKind::Label: {
            auto p = std::make_unique<THeadlessLabel>();
            state = p.get();
            c = std::move(p);
            break;
        }
        case TControlKind::Button: {
            auto p = std::make_unique<THeadlessButton>();
            state = p.get();
            c = std::move(p);
            break;
        }
        case TControlKind::ComboBox: {
            auto p = std::make_unique<THeadlessComboBox>();
            state = p.get();
            c = std::move(p);
            break;
        }
        case TControlKind::Edit: {
            auto p = std::make_unique<THeadlessEdit>();
            state = p.get();
            c = std::move(p);
            break;
        }
        case TControlKind::UpDown: {
            auto p = std::make_unique<THeadlessUpDown>();
            state = p.get();
            c = std::move(p);
            break;
        }
        }
        state->FCaption = l.Caption;
        made[id] = c.get();
        if (l.Parent >= 0)
            dynamic_cast<THeadlessControl &>(*made[l.Parent]).FChildren.push_back(c.get());
        FControls.push_back(std::move(c));
    }
    BindControls(made);
}

bool THeadlessForm::InputQuery(const std::string &caption, const std::string &prompt,
                               std::string &value) {
    FPrompts.push_back({caption, prompt});
    if (FPromptAnswers.empty()) return false;
    const std::optional<std::string> answer = FPromptAnswers.front();
    FPromptAnswers.pop_front();
    if (!answer) return false;
    value = *answer;
    return true;
}

void THeadlessForm::WarningBox(const std::string &caption, const std::string &text) {
    FWarnings.push_back({caption, text});
}

void THeadlessForm::ReparentPanel(TPanel &, HWND parent) { FPanelParent = parent; }

void THeadlessForm::SendWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    FSent.push_back({window, message, wparam, lparam});
    if (FOnSend) FOnSend(FSent.back());
}

}  // namespace dialog
