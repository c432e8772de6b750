#include "dialog/win32/InputQuery.h"

#include <vector>

#include "dialog/DialogTexts.h"
#include "dialog/win32/WideText.h"

namespace dialog {

namespace {

// An in-memory dialog template: header, then items, each DWORD-aligned.
class TTemplate {
public:
    void Header(const std::wstring &caption, const std::wstring &font, WORD items, short cx,
                short cy) {
        const DWORD style =
            DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        Dword(style);
        Dword(0);
        Word(items);
        Word(0), Word(0), Word(WORD(cx)), Word(WORD(cy));
        Word(0);  // no menu
        Word(0);  // the system's dialog class
        Text(caption);
        Word(9);  // points: a 12-pixel cell at 96 dots per inch
        Text(font);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const std::wstring &text) {
        while (FWords.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(WORD(x)), Word(WORD(y)), Word(WORD(cx)), Word(WORD(cy));
        Word(id);
        Word(0xffff), Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE *Data() const { return reinterpret_cast<const DLGTEMPLATE *>(FWords.data()); }

private:
    void Word(WORD w) { FWords.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const std::wstring &s) {
        for (wchar_t c : s) Word(WORD(c));
        Word(0);
    }
    std::vector<WORD> FWords;
};

// Atoms of the system's control classes in a template.
constexpr WORD ButtonAtom = 0x0080, EditAtom = 0x0081, StaticAtom = 0x0082;

struct TAnswer {
    std::wstring Text;
};

INT_PTR CALLBACK PromptProc(HWND dlg, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dlg, DWLP_USER, lparam);
        SetDlgItemTextW(dlg, PromptEditId, reinterpret_cast<TAnswer *>(lparam)->Text.c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            auto *answer = reinterpret_cast<TAnswer *>(GetWindowLongPtrW(dlg, DWLP_USER));
            answer->Text = WindowText(GetDlgItem(dlg, PromptEditId));
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

bool Win32InputQuery(HWND owner, const std::string &fontName, const std::string &caption,
                     const std::string &prompt, std::string &value) {
    TTemplate t;
    t.Header(WideFromCp932(caption), WideFromCp932(fontName), 4, 180, 62);
    t.Item(SS_LEFT | SS_NOPREFIX, 8, 8, 164, 10, 0xffff, StaticAtom, WideFromCp932(prompt));
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 20, 164, 13, PromptEditId, EditAtom, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 68, 42, 50, 14, IDOK, ButtonAtom, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 122, 42, 50, 14, IDCANCEL, ButtonAtom,
           WideFromCp932(dialog_text::CancelButton));
    TAnswer answer{WideFromCp932(value)};
    const INT_PTR result = DialogBoxIndirectParamW(ThisModule(), t.Data(), owner, PromptProc,
                                                   reinterpret_cast<LPARAM>(&answer));
    if (result != IDOK) return false;
    value = Cp932FromWide(answer.Text);
    return true;
}

}  // namespace dialog
