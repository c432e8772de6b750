#include "dialog/win32/Win32Form.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "dialog/FormLayout.h"
#include "dialog/win32/InputQuery.h"
#include "dialog/win32/WideText.h"

namespace dialog {

namespace {

const wchar_t *const FormClassName = L"MorvaneConfigForm";
// Posted to the form window: free the dialog now that what came before is handled.
constexpr UINT WM_RELEASE_FORM = WM_APP + 0x101;

// What every control does with its window.
template <class Base>
class TWin32Control : public Base {
public:
    HWND FHandle = nullptr;
    void SetVisible(bool visible) override { ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE); }
    bool Visible() const override {
        return (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0;
    }
};

class TWin32Label : public TWin32Control<TControl> {};

class TWin32Button : public TWin32Control<TButton> {
public:
    void SetEnabled(bool enabled) override { EnableWindow(FHandle, enabled); }
    bool Enabled() const override { return IsWindowEnabled(FHandle) != FALSE; }
};

class TWin32ComboBox : public TWin32Control<TComboBox> {
public:
    int32_t Count() const override { return int32_t(SendMessageW(FHandle, CB_GETCOUNT, 0, 0)); }
    std::string Item(int32_t index) const override {
        const LRESULT n = SendMessageW(FHandle, CB_GETLBTEXTLEN, index, 0);
        if (n == CB_ERR) return {};
        std::wstring text(n + 1, L'\0');
        SendMessageW(FHandle, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(n);
        return Cp932FromWide(text);
    }
    int32_t Add(const std::string &text) override {
        const std::wstring w = WideFromCp932(text);
        return int32_t(SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str())));
    }
    void Insert(int32_t index, const std::string &text) override {
        const std::wstring w = WideFromCp932(text);
        SendMessageW(FHandle, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(w.c_str()));
    }
    void Delete(int32_t index) override { SendMessageW(FHandle, CB_DELETESTRING, index, 0); }
    int32_t ItemIndex() const override {
        return int32_t(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
    }
    void SetItemIndex(int32_t index) override { SendMessageW(FHandle, CB_SETCURSEL, index, 0); }
    void Repaint() override {
        InvalidateRect(FHandle, nullptr, TRUE);
        UpdateWindow(FHandle);
    }
};

class TWin32Panel : public TWin32Control<TPanel> {
public:
    void SetCaption(const std::string &caption) override {
        SetWindowTextW(FHandle, WideFromCp932(caption).c_str());
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    std::string Caption() const override { return Cp932FromWide(WindowText(FHandle)); }
    std::vector<TControl *> Children() const override { return FChildren; }
    std::vector<TControl *> FChildren;
};

class TWin32Edit : public TWin32Control<TEdit> {
public:
    void AddWindowStyle(uint32_t bits) override {
        SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) | bits);
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    uint32_t WindowStyle() const override {
        return uint32_t(GetWindowLongPtrW(FHandle, GWL_STYLE));
    }
};

class TWin32UpDown : public TWin32Control<TUpDown> {
public:
    void SetMin(int16_t value) override { SetRange(value, Max()); }
    void SetMax(int16_t value) override { SetRange(Min(), value); }
    void SetPosition(int16_t value) override { SendMessageW(FHandle, UDM_SETPOS32, 0, value); }
    int16_t Min() const override { return Range().first; }
    int16_t Max() const override { return Range().second; }
    int16_t Position() const override { return int16_t(SendMessageW(FHandle, UDM_GETPOS32, 0, 0)); }

private:
    std::pair<int16_t, int16_t> Range() const {
        INT low = 0, high = 0;
        SendMessageW(FHandle, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                     reinterpret_cast<LPARAM>(&high));
        return {int16_t(low), int16_t(high)};
    }
    void SetRange(int16_t low, int16_t high) { SendMessageW(FHandle, UDM_SETRANGE32, low, high); }
};

class TWin32Form : public TForm {
public:
    explicit TWin32Form(HWND owner) : FOwner(owner) {}
    ~TWin32Form() override;
    bool Create();

    bool InputQuery(const std::string &caption, const std::string &prompt,
                    std::string &value) override {
        return Win32InputQuery(FOwner, FFontName, caption, prompt, value);
    }
    void WarningBox(const std::string &caption, const std::string &text) override {
        MessageBoxW(nullptr, WideFromCp932(text).c_str(), WideFromCp932(caption).c_str(),
                    MB_OK | MB_ICONWARNING);
    }
    std::vector<std::string> InstalledFonts() override;
    std::string FontName() const override { return FFontName; }
    void SetFontName(const std::string &name) override;
    void ReparentPanel(TPanel &panel, HWND parent) override;
    void SendWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        SendMessageW(window, message, wparam, lparam);
    }
    void PostRelease(std::function<void()> free) override;

private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK TabProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR data);
    HWND MakeWindow(int id, HWND parent);
    void Command(HWND control, WORD code);
    LRESULT Notify(const NMHDR &header);
    static void PaintPanel(HWND hwnd);
    void FitLabels();

    HWND FOwner;
    HWND FWindow = nullptr;
    HFONT FFont = nullptr;
    std::string FFontName = DefaultFontName;
    std::function<void()> FRelease;
    std::vector<std::unique_ptr<TControl>> FControls;
    HWND FHandles[ControlCount] = {};
    bool FCounted = false;  // holds a share of the registered classes
};

int LiveForms = 0;

int CALLBACK AddFontName(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM names) {
    reinterpret_cast<std::vector<std::string> *>(names)->push_back(Cp932FromWide(font->lfFaceName));
    return 1;
}

// Classes go with the last form: a plug-in unloaded and loaded again at
// another address must not find its old window procedures registered.
void UnregisterClasses() {
    if (LiveForms > 0) return;
    UnregisterClassW(FormClassName, ThisModule());
    UnregisterClassW(PanelClassName, ThisModule());
}

bool RegisterClasses() {
    if (LiveForms > 0) return true;
    UnregisterClasses();
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);
    WNDCLASSW form{};
    form.lpfnWndProc = DefWindowProcW;
    form.hInstance = ThisModule();
    form.lpszClassName = FormClassName;
    WNDCLASSW panel{};
    panel.style = CS_HREDRAW | CS_VREDRAW;
    panel.lpfnWndProc = DefWindowProcW;
    panel.hInstance = ThisModule();
    panel.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    panel.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    panel.lpszClassName = PanelClassName;
    return RegisterClassW(&form) && RegisterClassW(&panel);
}

bool TWin32Form::Create() {
    if (!RegisterClasses()) {
        UnregisterClasses();
        return false;
    }
    ++LiveForms;
    FCounted = true;
    // Never shown: only its panel is seen, inside the host's window.
    RECT r{0, 0, FormClientWidth, FormClientHeight};
    AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW, FormClassName, L"", WS_POPUP | WS_CAPTION, 0, 0,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr, ThisModule(),
                              nullptr);
    if (!FWindow) return false;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormProc));

    // Siblings are created in tab order: the system tabs in creation order.
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (int tab = -1; tab < ControlCount; ++tab)
            for (int id = 0; id < ControlCount; ++id)
                if (FormLayout[id].TabOrder == tab && (FormLayout[id].Parent == -1) == (pass == 0))
                    order.push_back(id);
    // Panels before what they hold.
    TControl *made[ControlCount] = {};
    for (int round = 0; round < 3; ++round)
        for (int id : order) {
            if (made[id]) continue;
            const int parent = FormLayout[id].Parent;
            if (parent >= 0 && !made[parent]) continue;
            const HWND p = parent < 0 ? FWindow : FHandles[parent];
            if (!(FHandles[id] = MakeWindow(id, p))) return false;
            made[id] = FControls.back().get();
        }
    for (int id = 0; id < ControlCount; ++id)
        if (FormLayout[id].Parent >= 0)
            static_cast<TWin32Panel *>(made[FormLayout[id].Parent])->FChildren.push_back(made[id]);
    SendMessageW(FHandles[idParamUpDown], UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(FHandles[idParamEdit]), 0);
    SetFontName(DefaultFontName);

    BindControls(made);
    return true;
}

HWND TWin32Form::MakeWindow(int id, HWND parent) {
    const TControlLayout &l = FormLayout[id];
    DWORD style = WS_CHILD | WS_VISIBLE | (l.TabOrder >= 0 ? WS_TABSTOP : 0);
    DWORD exStyle = 0;
    const wchar_t *cls = nullptr;
    int height = l.Height;
    std::unique_ptr<TControl> control;
    HWND *slot = nullptr;
    auto take = [&](auto c) {
        slot = &c->FHandle;
        control = std::move(c);
    };
    switch (l.Kind) {
    case TControlKind::Panel:
        cls = PanelClassName;
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        take(std::make_unique<TWin32Panel>());
        break;
    case TControlKind::Label:
        cls = WC_STATICW;
        style |= SS_LEFT;
        take(std::make_unique<TWin32Label>());
        break;
    case TControlKind::Button:
        cls = WC_BUTTONW;
        style |= BS_PUSHBUTTON;
        take(std::make_unique<TWin32Button>());
        break;
    case TControlKind::ComboBox:
        cls = WC_COMBOBOXW;
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        // The height given is that of the open list.
        height += (id == idSizeList ? ListDropRows : 8) * ListRowHeight + 2;
        take(std::make_unique<TWin32ComboBox>());
        break;
    case TControlKind::Edit:
        cls = WC_EDITW;
        style |= ES_AUTOHSCROLL;
        exStyle |= WS_EX_CLIENTEDGE;
        take(std::make_unique<TWin32Edit>());
        break;
    case TControlKind::UpDown:
        cls = UPDOWN_CLASSW;
        style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        style &= ~WS_TABSTOP;
        take(std::make_unique<TWin32UpDown>());
        break;
    }
    const HWND hwnd = CreateWindowExW(
        exStyle, cls, WideFromCp932(l.Caption).c_str(), style, l.Left, l.Top, l.Width, height,
        parent, reinterpret_cast<HMENU>(INT_PTR(id + 1)), ThisModule(), nullptr);
    if (!hwnd) return nullptr;
    *slot = hwnd;
    FControls.push_back(std::move(control));
    if (l.Kind == TControlKind::Panel)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (l.Kind == TControlKind::Panel)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PanelProc));
    if (l.TabOrder >= 0 && l.Kind != TControlKind::Panel)
        SetWindowSubclass(hwnd, &TabProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return hwnd;
}

TWin32Form::~TWin32Form() {
    // The host may have destroyed its window, and the panel with it, already.
    if (FHandles[idBase] && IsWindow(FHandles[idBase])) DestroyWindow(FHandles[idBase]);
    for (HWND hwnd : FHandles)
        if (hwnd && IsWindow(hwnd)) RemoveWindowSubclass(hwnd, &TabProc, 1);
    if (FWindow) DestroyWindow(FWindow);
    if (FFont) DeleteObject(FFont);
    if (FCounted) {
        --LiveForms;
        UnregisterClasses();
    }
}

std::vector<std::string> TWin32Form::InstalledFonts() {
    std::vector<std::string> names;
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &want, reinterpret_cast<FONTENUMPROCW>(&AddFontName),
                        reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, dc);
    return names;
}

void TWin32Form::SetFontName(const std::string &name) {
    const std::wstring face = WideFromCp932(name);
    HFONT font = CreateFontW(FontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!font) return;
    FFontName = name;
    for (HWND hwnd : FHandles)
        if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (FFont) DeleteObject(FFont);
    FFont = font;
    FitLabels();
    // The drop-down lists keep their 20-pixel height whatever the font's cell.
    for (int id : {idSizeList, idLumaMode, idSIMDMode}) {
        HWND combo = FHandles[id];
        if (!combo) continue;
        SendMessageW(combo, CB_SETITEMHEIGHT, 0, ListRowHeight);
        RECT r;
        GetWindowRect(combo, &r);
        const LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0);
        SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1),
                     field + FormLayout[id].Height - (r.bottom - r.top));
    }
}

// Labels size themselves to their caption in the form's font, from their
// top-left corner; with the design font that is the size the layout gives.
void TWin32Form::FitLabels() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont);
    for (int id = 0; id < ControlCount; ++id) {
        if (FormLayout[id].Kind != TControlKind::Label || !FHandles[id]) continue;
        const std::wstring text = WindowText(FHandles[id]);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        SetWindowPos(FHandles[id], nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

void TWin32Form::ReparentPanel(TPanel &panel, HWND parent) {
    HWND hwnd = static_cast<TWin32Panel &>(panel).FHandle;
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&r), 2);
    SetParent(hwnd, parent);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::PostRelease(std::function<void()> free) {
    FRelease = std::move(free);
    if (!PostMessageW(FWindow, WM_RELEASE_FORM, 0, 0)) {
        std::function<void()> now = std::move(FRelease);
        now();
    }
}

LRESULT CALLBACK TWin32Form::FormProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_RELEASE_FORM) {
        auto *form = reinterpret_cast<TWin32Form *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (form && form->FRelease) {
            std::function<void()> release = std::move(form->FRelease);
            release();  // the form is gone afterwards
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

void TWin32Form::Command(HWND control, WORD code) {
    const auto is = [&](int id) { return control == FHandles[id]; };
    if (code == BN_CLICKED && is(idAddSize)) RaiseEvent(btnAddSize->OnClick);
    if (code == BN_CLICKED && is(idDeleteSize)) RaiseEvent(btnDeleteSize->OnClick);
    if (code == CBN_SELCHANGE && is(idSizeList)) RaiseEvent(cbSizeList->OnChange);
    if (code == CBN_SELCHANGE && is(idLumaMode)) RaiseEvent(cbLumaMode->OnChange);
    if (code == CBN_SELCHANGE && is(idSIMDMode)) RaiseEvent(cbSIMDMode->OnChange);
}

LRESULT TWin32Form::Notify(const NMHDR &header) {
    if (header.hwndFrom == FHandles[idParamUpDown] && header.code == UDN_DELTAPOS) {
        const auto &n = reinterpret_cast<const NMUPDOWN &>(header);
        const int next = n.iPos + n.iDelta;
        RaiseEvent([&] {
            if (udLumaParam->OnChangingEx) udLumaParam->OnChangingEx(int16_t(next));
        });
    }
    return 0;  // the change is never vetoed
}

void TWin32Form::PaintPanel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring caption = WindowText(hwnd);
    if (!caption.empty()) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, caption.c_str(), int(caption.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TWin32Form::PanelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto *form = reinterpret_cast<TWin32Form *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (form && lparam) form->Command(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
        return 0;
    case WM_NOTIFY: return form ? form->Notify(*reinterpret_cast<const NMHDR *>(lparam)) : 0;
    case WM_SETFONT:
        SetPropW(hwnd, L"MorvaneFont", reinterpret_cast<HANDLE>(wparam));
        if (LOWORD(lparam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(GetPropW(hwnd, L"MorvaneFont"));
    case WM_NCDESTROY: RemovePropW(hwnd, L"MorvaneFont"); break;
    case WM_PAINT: PaintPanel(hwnd); return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Tab and Shift+Tab move between the controls whatever the host's message
// loop does; the lists and the up-down take their arrow keys themselves.
LRESULT CALLBACK TWin32Form::TabProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR data) {
    auto *form = reinterpret_cast<TWin32Form *>(data);
    if (message == WM_GETDLGCODE && lparam) {
        const MSG *m = reinterpret_cast<const MSG *>(lparam);
        if (m->message == WM_KEYDOWN && m->wParam == VK_TAB) return DLGC_WANTTAB;
    }
    if (message == WM_KEYDOWN && wparam == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(form->FHandles[idBase], hwnd, back)) SetFocus(next);
        return 0;
    }
    if (message == WM_CHAR && wparam == L'\t') return 0;
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace

std::unique_ptr<TForm> MakeWin32Form(HWND owner) {
    auto form = std::make_unique<TWin32Form>(owner);
    if (!form->Create()) return nullptr;
    return form;
}

}  // namespace dialog
