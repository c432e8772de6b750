// In-memory controls for systems without windows and for the tests: they
// keep what the dialog sets, act on the user's part when told to, answer
// prompts from a script and record every message box and window message.
#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogControls.h"
#include "dialog/FormLayout.h"

namespace dialog {

class THeadlessControl {
public:
    bool FVisible = true;
    std::string FCaption;
    std::vector<TControl *> FChildren;
};

class THeadlessLabel : public TControl, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
};

class THeadlessButton : public TButton, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    void SetEnabled(bool enabled) override { FEnabled = enabled; }
    bool Enabled() const override { return FEnabled; }
    // The user's click: nothing happens while the button is disabled.
    void Click() {
        if (FEnabled) RaiseEvent(OnClick);
    }
    bool FEnabled = true;
};

class THeadlessComboBox : public TComboBox, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    int32_t Count() const override { return int32_t(FItems.size()); }
    std::string Item(int32_t index) const override { return FItems.at(index); }
    int32_t Add(const std::string &text) override;
    void Insert(int32_t index, const std::string &text) override;
    void Delete(int32_t index) override;
    int32_t ItemIndex() const override { return FIndex; }
    void SetItemIndex(int32_t index) override;
    void Repaint() override { ++FRepaints; }
    // The user picks an item.
    void Select(int32_t index) {
        SetItemIndex(index);
        RaiseEvent(OnChange);
    }
    std::vector<std::string> FItems;
    int32_t FIndex = -1;
    int FRepaints = 0;
};

class THeadlessPanel : public TPanel, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    void SetCaption(const std::string &caption) override { FCaption = caption; }
    std::string Caption() const override { return FCaption; }
    std::vector<TControl *> Children() const override { return FChildren; }
};

class THeadlessEdit : public TEdit, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    void AddWindowStyle(uint32_t bits) override { FStyle |= bits; }
    uint32_t WindowStyle() const override { return FStyle; }
    uint32_t FStyle = 0;
};

class THeadlessUpDown : public TUpDown, public THeadlessControl {
public:
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    void SetMin(int16_t value) override { FMin = value; }
    void SetMax(int16_t value) override { FMax = value; }
    void SetPosition(int16_t value) override { FPosition = value; }
    int16_t Min() const override { return FMin; }
    int16_t Max() const override { return FMax; }
    int16_t Position() const override { return FPosition; }
    // The user's click on an arrow (+1 up, -1 down); like the system's
    // control it announces a value past its range too, but stays inside.
    void Click(int delta);
    int16_t FMin = 0, FMax = 100, FPosition = 0;
};

struct TSentMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

struct TShownBox {
    std::string Caption;
    std::string Text;
};

class THeadlessForm : public TForm {
public:
    THeadlessForm();

    bool InputQuery(const std::string &caption, const std::string &prompt,
                    std::string &value) override;
    void WarningBox(const std::string &caption, const std::string &text) override;
    std::vector<std::string> InstalledFonts() override { return FInstalledFonts; }
    std::string FontName() const override { return FFontName; }
    void SetFontName(const std::string &name) override { FFontName = name; }
    void ReparentPanel(TPanel &panel, HWND parent) override;
    void SendWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

    // Answers for the coming prompts, in order; nullopt cancels. A prompt
    // with no answer left is cancelled.
    std::deque<std::optional<std::string>> FPromptAnswers;
    std::vector<TShownBox> FPrompts;   // caption and prompt of each shown
    std::vector<TShownBox> FWarnings;  // each warning box shown
    std::vector<TSentMessage> FSent;
    std::vector<std::string> FInstalledFonts;
    std::string FFontName = DefaultFontName;
    HWND FPanelParent = nullptr;
    // Called for every window message sent, after it is recorded.
    std::function<void(const TSentMessage &)> FOnSend;

    THeadlessComboBox &Combo(TComboBox *c) { return static_cast<THeadlessComboBox &>(*c); }
    THeadlessButton &Button(TButton *b) { return static_cast<THeadlessButton &>(*b); }
    THeadlessUpDown &UpDown() { return static_cast<THeadlessUpDown &>(*udLumaParam); }

private:
    std::vector<std::unique_ptr<TControl>> FControls;
};

}  // namespace dialog
