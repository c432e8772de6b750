// What the dialog's logic needs of the window controls, so that the same
// logic drives real Win32 controls and the in-memory ones of the tests.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "abi/WindowTypes.h"

namespace dialog {

class TControl {
public:
    virtual ~TControl() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // A control that can hold other controls.
    virtual bool IsWindowed() const { return false; }
    virtual std::vector<TControl *> Children() const { return {}; }
};

class TButton : public TControl {
public:
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    std::function<void()> OnClick;
};

class TComboBox : public TControl {
public:
    virtual int32_t Count() const = 0;
    virtual std::string Item(int32_t index) const = 0;
    virtual int32_t Add(const std::string &text) = 0;  // returns the new index
    virtual void Insert(int32_t index, const std::string &text) = 0;
    virtual void Delete(int32_t index) = 0;
    virtual int32_t ItemIndex() const = 0;  // -1: nothing selected
    // Raises no change event.
    virtual void SetItemIndex(int32_t index) = 0;
    virtual void Repaint() = 0;
    // Raised when the user picks an item.
    std::function<void()> OnChange;

    // The entry equal to `text`, else the first equal but for letter case
    // (platform::FindName); -1 when absent.
    int32_t IndexOf(const std::string &text) const;
    std::string Text() const;  // the selected item, "" with none
    std::vector<std::string> Items() const;
    std::string CommaText() const;
};

class TPanel : public TControl {
public:
    virtual void SetCaption(const std::string &caption) = 0;
    virtual std::string Caption() const = 0;
    bool IsWindowed() const override { return true; }
};

class TEdit : public TControl {
public:
    virtual void AddWindowStyle(uint32_t bits) = 0;
    virtual uint32_t WindowStyle() const = 0;
};

class TUpDown : public TControl {
public:
    virtual void SetMin(int16_t value) = 0;
    virtual void SetMax(int16_t value) = 0;
    virtual void SetPosition(int16_t value) = 0;
    virtual int16_t Min() const = 0;
    virtual int16_t Max() const = 0;
    virtual int16_t Position() const = 0;
    // Raised before the position changes, with the value it is about to take.
    std::function<void(int16_t)> OnChangingEx;
};

// The form: its controls, named as the dialog knows them, and what it asks
// of the window system.
class TForm {
public:
    virtual ~TForm() = default;

    // Modal; false when cancelled. `value` holds the initial text and the answer.
    virtual bool InputQuery(const std::string &caption, const std::string &prompt,
                            std::string &value) = 0;
    // A warning with an OK button, owned by no window.
    virtual void WarningBox(const std::string &caption, const std::string &text) = 0;
    virtual std::vector<std::string> InstalledFonts() = 0;
    virtual std::string FontName() const = 0;
    // Every control takes the form's font.
    virtual void SetFontName(const std::string &name) = 0;
    // Makes `panel` a child of a window the form does not own, same place and size.
    virtual void ReparentPanel(TPanel &panel, HWND parent) = 0;
    // Synchronous: returns once the window has answered.
    virtual void SendWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // Runs `free` once the messages already queued for the form are handled
    // (at once where there is no queue).
    virtual void PostRelease(std::function<void()> free) { free(); }

    TPanel *pnlBase = nullptr;
    TButton *btnAddSize = nullptr;
    TButton *btnDeleteSize = nullptr;
    TComboBox *cbLumaMode = nullptr;
    TComboBox *cbSizeList = nullptr;
    TControl *Label1 = nullptr;
    TControl *Label2 = nullptr;
    TPanel *pnlLumaParam = nullptr;
    TEdit *edtLumaParam = nullptr;
    TUpDown *udLumaParam = nullptr;
    TControl *Label4 = nullptr;
    TComboBox *cbSIMDMode = nullptr;

protected:
    // Names the controls made for the layout, `made` indexed as the layout is.
    void BindControls(TControl *const *made);
};

// Runs an event handler for a control; nothing it throws leaves, since the
// caller is the window system (and behind it the editor).
void RaiseEvent(const std::function<void()> &handler) noexcept;

}  // namespace dialog
