// The dialog on real Win32 controls inside a filter window of the registered
// size, driven with window messages as the user's keys and clicks send them.
// Runs on a (virtual) display; saves a picture of the window when
// MORVANE_SCREENSHOT names a file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "standin/StandinHost.h"
#include "dialog/win32/InputQuery.h"
#include "dialog/win32/Win32Form.h"
#include "host/PluginMain.h"
#include "tests/host/Installation.h"

namespace {

constexpr UINT WM_ANSWER_PROMPT = WM_APP + 7;
constexpr UINT WM_ANSWER_WARNING = WM_APP + 8;
FILTER *Filter = nullptr;
int ConfigChanged = 0;
int Tries = 0;
const wchar_t *PromptAnswer = L"";
int WarningsAnswered = 0;

// Fills in the add-size prompt once it is up, and posts the OK click.
void AnswerPrompt(HWND host) {
    HWND prompt = FindWindowW(L"#32770", L"解像度リストに追加");
    if (!prompt) {
        if (++Tries < 1000) PostMessageW(host, WM_ANSWER_PROMPT, 0, 0);
        return;
    }
    EXPECT_EQ(GetWindow(prompt, GW_OWNER), host);
    SetDlgItemTextW(prompt, dialog::PromptEditId, PromptAnswer);
    PostMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
}

// Closes the warning box once it is up.
void AnswerWarning(HWND host) {
    HWND box = FindWindowW(L"#32770", L"警告");
    if (!box) {
        if (++Tries < 1000) PostMessageW(host, WM_ANSWER_WARNING, 0, 0);
        return;
    }
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);  // owned by no window
    ++WarningsAnswered;
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// The editor hands the filter's own messages to its window procedure.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ANSWER_PROMPT) {
        AnswerPrompt(hwnd);
        return 0;
    }
    if (message == WM_ANSWER_WARNING) {
        AnswerWarning(hwnd);
        return 0;
    }
    if (message == WM_CONFIG_CHANGED) {
        ++ConfigChanged;
        return Filter->func_WndProc(hwnd, message, wparam, lparam, nullptr, Filter);
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

BOOL MV_CDECL Active(FILTER *) { return TRUE; }
BOOL MV_CDECL SysInfo(void *, SYS_INFO *info) {
    info->max_w = 1920;
    info->max_h = 1080;
    return TRUE;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[128] = {};
    GetWindowTextW(hwnd, text, 128);
    return text;
}

RECT PlaceOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// Pumps the window thread idle for about `ms` milliseconds: Wine hands
// what was painted to the display only while the thread waits.
void Idle(int ms) {
    for (int i = 0; i < ms / 50; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
}

bool IsWholePng(const std::string &path) {
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    if (!f || f.tellg() < 12) return false;
    f.seekg(-8, std::ios::end);
    char tail[8] = {};
    f.read(tail, 8);
    return std::string(tail, 4) == "IEND";
}

// The window with the dialog, as the virtual display shows it. The picture
// program is a Unix one: Wine starts it without a handle to wait on, so the
// window stays up until its file is complete.
void SaveScreenshot(HWND window) {
    const char *env = std::getenv("MORVANE_SCREENSHOT");
    if (!env || !*env) return;
    const std::string path = env;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Idle(1000);
    std::remove(path.c_str());
    std::wstring command =
        L"/usr/bin/import -window root " + std::wstring(path.begin(), path.end());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(L"Z:\\usr\\bin\\import", command.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &si, &pi))
        << GetLastError();
    if (pi.hProcess) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    for (int i = 0; i < 600 && !IsWholePng(path); ++i) Idle(50);
    EXPECT_TRUE(IsWholePng(path)) << path;
}

TEST(DialogWindows, RealControlsEditTheFilterInsideItsWindow) {
    host_test::TInstallation inst;
    inst.AddPlugins("DLL");
    inst.WriteIni("[Morvane]\r\nSizeList=1280x720,640x480,512x384\r\n");
    FILTER fp = *LoadFilterTable(inst.Path() + "Morvane.auf");
    EXFUNC ex{};
    ex.is_filter_active = Active;
    ex.get_sys_info = SysInfo;
    fp.exfunc = &ex;
    Filter = &fp;
    // Whatever the test's outcome, the filter is closed before its plug-in
    // folder goes: no dialog or driver outlives the libraries they use.
    struct TCloseFilter {
        FILTER *fp;
        ~TCloseFilter() {
            if (FilterState.ConfigDialog) func_WndProc(nullptr, WM_FILTER_EXIT, 0, 0, nullptr, fp);
            if (FilterState.ResizeDriver || FilterState.Plugins.Libraries.Count() > 0)
                func_exit(fp);
            Filter = nullptr;
        }
    } close{&fp};
    ASSERT_EQ(func_init(&fp), TRUE);

    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"TestFilterWindow";
    RegisterClassW(&wc);
    HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"\u30e2\u30eb\u30f4\u30a1\u30fc\u30f3",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 40, 40, fp.x, fp.y, nullptr,
                        nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window) << "no display";
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(func_WndProc(window, WM_FILTER_INIT, 0, 0, nullptr, &fp), TRUE);
    Pump();

    HWND base = FindWindowExW(window, nullptr, dialog::PanelClassName, nullptr);
    ASSERT_TRUE(base);
    HWND param = FindWindowExW(base, nullptr, dialog::PanelClassName, nullptr);
    ASSERT_TRUE(param);
    const struct {
        HWND parent;
        const wchar_t *cls;
        int left, top, width, height;
        const wchar_t *caption;  // null: not checked
    } controls[] = {
        {base, L"Button", 144, 8, 36, 20, L"追加"},
        {base, L"Button", 180, 8, 36, 20, L"削除"},
        {base, L"ComboBox", 52, 32, 120, 20, nullptr},
        {base, L"ComboBox", 52, 8, 88, 20, nullptr},
        {base, L"Static", 12, 12, 29, 12, L"サイズ"},
        {base, L"Static", 12, 36, 36, 12, L"窓関数"},
        {base, dialog::PanelClassName, 176, 30, 100, 24, L"  半径"},
        {param, L"Edit", 48, 2, 32, 20, nullptr},
        {param, UPDOWN_CLASSW, 80, 2, 16, 20, nullptr},
        {base, L"Static", 12, 58, 27, 12, L"SIMD"},
        {base, L"ComboBox", 52, 56, 120, 20, nullptr},
    };
    HWND h[12] = {base};
    EXPECT_EQ(PlaceOf(base).right, 282);
    EXPECT_EQ(PlaceOf(base).bottom, 90);
    for (int i = 0; i < 11; ++i) {
        const auto &c = controls[i];
        h[i + 1] = GetDlgItem(c.parent, i + 2);
        ASSERT_TRUE(h[i + 1]) << i;
        EXPECT_EQ(ClassOf(h[i + 1]), std::wstring(c.cls)) << i;
        const RECT r = PlaceOf(h[i + 1]);
        EXPECT_EQ(r.left, c.left) << i;
        EXPECT_EQ(r.top, c.top) << i;
        if (std::wstring(c.cls) != L"Static") {
            EXPECT_EQ(r.right - r.left, c.width) << i;
        }
        // Labels fit their text, and a drop-down list is never lower than its
        // font's cell allows: with the CJK fonts of the test display that is
        // a few pixels more than with the design font.
        if (std::wstring(c.cls) == L"ComboBox" || std::wstring(c.cls) == L"Static") {
            EXPECT_GE(r.bottom - r.top, c.height) << i;
            EXPECT_LE(r.bottom - r.top, c.height + 6) << i;
            EXPECT_GE(r.right - r.left, c.width) << i;
        } else {
            EXPECT_EQ(r.bottom - r.top, c.height) << i;
        }
        if (c.caption) {
            EXPECT_EQ(TextOf(h[i + 1]), std::wstring(c.caption)) << i;
        }
        if (std::wstring(c.cls) == UPDOWN_CLASSW) continue;  // draws no text
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h[i + 1], WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, -12) << i;
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET) << i;
    }
    enum { Add = 1, Delete, Funcs, Sizes, Panel = 7, Edit, UpDown, Kernels = 11 };
    EXPECT_EQ(HWND(SendMessageW(h[UpDown], UDM_GETBUDDY, 0, 0)), h[Edit]);
    EXPECT_TRUE(GetWindowLongPtrW(h[Edit], GWL_STYLE) & ES_NUMBER);

    // Tab order: add, delete, window function, size, parameter, kernel.
    SetFocus(h[Add]);
    for (int next : {Delete, Funcs, Sizes, Kernels, Add}) {  // the parameter is hidden
        SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        EXPECT_EQ(GetFocus(), h[next]) << next;
    }

    // Keyboard: the size list's Down key picks the next size.
    EXPECT_EQ(ConfigChanged, 0);
    SendMessageW(h[Sizes], WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(FilterState.FilterConfig.Width, 640);
    EXPECT_EQ(FilterState.FilterConfig.Height, 480);
    EXPECT_EQ(ConfigChanged, 1);

    // A window function with a parameter shows the panel; the up-down sets it.
    const int lanczos = FilterState.Plugins.WndFuncPlugins.IndexOf("Lanczos");
    SendMessageW(h[Funcs], CB_SETCURSEL, lanczos, 0);
    SendMessageW(base, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h[Funcs]), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(h[Funcs]));
    EXPECT_STREQ(FilterState.FilterConfig.WndFuncName, "Lanczos");
    EXPECT_EQ(FilterState.FilterConfig.WndFuncParam, 3);
    EXPECT_TRUE(IsWindowVisible(h[Panel]));
    EXPECT_EQ(TextOf(h[Panel]), L"  タップ数");
    EXPECT_EQ(ConfigChanged, 2);
    SendMessageW(h[Edit], WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(FilterState.FilterConfig.WndFuncParam, 4);
    EXPECT_EQ(FilterState.Plugins.WndFuncParams[lanczos], 4);
    EXPECT_EQ(TextOf(h[Edit]), L"4");
    EXPECT_EQ(ConfigChanged, 3);

    // The last kernel.
    const int kernels = FilterState.Plugins.FilterPlugins.Count();
    for (int i = 1; i < kernels; ++i) SendMessageW(h[Kernels], WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_STREQ(FilterState.FilterConfig.FilterPluginName,
                 FilterState.Plugins.FilterPlugins.Items(kernels - 1)->name);
    EXPECT_EQ(ConfigChanged, 3 + (kernels - 1));
    const int changed = ConfigChanged;

    // Delete the selected 640x480: 1280x720 moves into its place.
    SendMessageW(h[Delete], BM_CLICK, 0, 0);
    EXPECT_EQ(FilterState.SizeList, "512x384,1280x720");
    EXPECT_EQ(FilterState.FilterConfig.Width, 1280);
    EXPECT_EQ(ConfigChanged, changed + 1);

    // Add through the prompt, answered with posted input while it is modal.
    PromptAnswer = L"  800x600 ";
    PostMessageW(window, WM_ANSWER_PROMPT, 0, 0);
    SendMessageW(h[Add], BM_CLICK, 0, 0);
    EXPECT_EQ(FilterState.SizeList, "512x384,800x600,1280x720");
    EXPECT_EQ(FilterState.FilterConfig.Width, 800);
    EXPECT_EQ(FilterState.FilterConfig.Height, 600);
    EXPECT_EQ(ConfigChanged, changed + 2);
    EXPECT_EQ(SendMessageW(h[Sizes], CB_GETCOUNT, 0, 0), 3);
    EXPECT_TRUE(IsWindowEnabled(h[Delete]));

    // Beyond the editor's largest frame: the warning box, and nothing added.
    PromptAnswer = L"1920x1088";
    Tries = 0;
    PostMessageW(window, WM_ANSWER_PROMPT, 0, 0);
    PostMessageW(window, WM_ANSWER_WARNING, 0, 0);
    SendMessageW(h[Add], BM_CLICK, 0, 0);
    EXPECT_EQ(WarningsAnswered, 1);
    EXPECT_EQ(FilterState.SizeList, "512x384,800x600,1280x720");
    EXPECT_EQ(ConfigChanged, changed + 2);

    SaveScreenshot(window);

    // WM_FILTER_EXIT: gone once the queued messages are handled.
    EXPECT_EQ(func_WndProc(window, WM_FILTER_EXIT, 0, 0, nullptr, &fp), FALSE);
    Pump();
    EXPECT_FALSE(IsWindow(base));
    EXPECT_FALSE(FindWindowExW(window, nullptr, dialog::PanelClassName, nullptr));
    EXPECT_FALSE(FindWindowW(L"MorvaneConfigForm", nullptr));
    EXPECT_EQ(func_exit(&fp), TRUE);
    DestroyWindow(window);
    Filter = nullptr;
}

// The stand-in host makes the filter window as the editor does, from the
// registration record: every control of the settings area lies inside its
// client area, nothing clipped.
// EnumChildWindows calls back in the system's convention, which a lambda
// does not have on 32-bit Windows.
BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
    return TRUE;
}

TEST(DialogWindows, TheStandinHostsFilterWindowHoldsTheWholeSettingsArea) {
    host_test::TInstallation inst;
    inst.AddPlugins("DLL");
    TStandinHost host(inst.AddFilter(), 1920, 1080, 1);
    ASSERT_EQ(host.Init(), TRUE);
    host.OpenWindow();
    Pump();
    const HWND window = host.Window();
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.right - outer.left, 288);
    EXPECT_EQ(outer.bottom - outer.top, 116);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    ASSERT_TRUE(FindWindowExW(window, nullptr, dialog::PanelClassName, nullptr));
    std::vector<HWND> controls;
    EnumChildWindows(window, &CollectWindow, reinterpret_cast<LPARAM>(&controls));
    EXPECT_GE(controls.size(), 12u);  // the panels and every control on them
    for (HWND control : controls) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << "control " << GetDlgCtrlID(control) << " at " << r.left << "," << r.top << "-"
            << r.right << "," << r.bottom << " outside the client area " << client.right << "x"
            << client.bottom;
    }
    EXPECT_EQ(host.CloseWindow(), FALSE);
}

}  // namespace
