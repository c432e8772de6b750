#include "host/PluginMain.h"

#include <cstring>

#include "host/DialogHookup.h"
#include "host/HostFrame.h"
#include "host/PluginLists.h"
#include "host/Settings.h"
#include "abi/FilterOffer.h"
#include "host/OfferAnswer.h"

TFilterState FilterState;

namespace {

void SetFilterName(const std::string &name) {
    // Cut by bytes: a double-byte character may be split, as the host shows it.
    constexpr std::size_t limit = TFilterState::FilterNameBytes;
    const std::size_t n = name.size() < limit ? name.size() : limit;
    std::memcpy(FilterState.FilterName, name.data(), n);
    FilterState.FilterName[n] = '\0';
}

void WriteSettings() {
    // A settings file that cannot be written must not trouble the host.
    TFilterPluginLists &plugins = FilterState.Plugins;
    settings::TSettingsFile &file = plugins.SettingsFile;
    settings::Write(file, settings::FilterNameKey, FilterState.FilterName);
    settings::Write(file, settings::PluginDirKey, plugins.PluginDir);
    const TWndFuncPluginList &funcs = plugins.WndFuncPlugins;
    for (int32_t i = 0; i < funcs.Count(); ++i)
        settings::Write(file, settings::FuncKeyPrefix + std::string(funcs.Items(i)->name),
                        settings::FormatFuncSetting(plugins.WndFuncParams[i]));
    settings::Write(file, settings::SizeListKey, FilterState.SizeList);
}

BOOL IsActive(FILTER *fp) {
    return fp && fp->exfunc && fp->exfunc->is_filter_active ? fp->exfunc->is_filter_active(fp)
                                                            : FALSE;
}

}  // namespace

TFilterState::TFilterState() : CreateConfigDialog(MakeHostedConfigDialog) {
    FILTER_DLL &f = FilterTable;
    f.flag = FILTER_FLAG_EX_DATA | FILTER_FLAG_WINDOW_SIZE | FILTER_FLAG_EX_INFORMATION;
    f.x = 288;
    f.y = 116;
    f.name = FilterName;
    f.func_proc = func_proc;
    f.func_init = func_init;
    f.func_exit = func_exit;
    f.func_update = func_update;
    f.func_WndProc = func_WndProc;
    f.ex_data_ptr = &FilterConfig;
    f.ex_data_size = sizeof(TFilterConfig);
    f.information = Information.data();
}

FILTER_DLL *LoadFilterTable(const std::string &modulePath) {
    FilterState.Plugins = LoadFilterPluginLists(modulePath);
    settings::TSettingsFile &file = FilterState.Plugins.SettingsFile;
    const std::string name =
        settings::Read(file, settings::FilterNameKey, settings::DefaultFilterName(file.section));
    SetFilterName(name);
    FilterState.SizeList = settings::Read(file, settings::SizeListKey, settings::DefaultSizeList());
    return &FilterState.FilterTable;
}

FILTER_DLL *RegistrationWithoutPlugins() noexcept {
    FilterState.Plugins.Clear();
    return &FilterState.FilterTable;
}

BOOL MV_CDECL func_init(FILTER *fp) {
    try {
        SYS_INFO info{};
        if (fp && fp->exfunc && fp->exfunc->get_sys_info) fp->exfunc->get_sys_info(nullptr, &info);
        FilterState.HostMaxWidth = info.max_w;
        FilterState.HostMaxHeight = info.max_h;
        // A new driver has nothing applied yet.
        FilterState.AppliedConfig.reset();
        FilterState.ResizeDriver = std::make_unique<TFilter>(FilterState.GammaTables);
    } catch (...) {
        // Without a driver every frame passes unchanged.
    }
    return TRUE;
}

BOOL MV_CDECL func_exit(FILTER *) {
    FilterState.GammaTables.FreeGammaTables();
    try {
        WriteSettings();
    } catch (...) {
        // Whatever could be written is; the rest must still be released.
    }
    // The driver goes first: its builder may hold a context of a listed library.
    FilterState.ResizeDriver.reset();
    FilterState.Plugins.Clear();
    return TRUE;
}

BOOL MV_CDECL func_update(FILTER *, int) {
    try {
        UpdateConfig();
    } catch (...) {
        // The driver keeps the configuration last applied.
    }
    return TRUE;
}

BOOL MV_CDECL func_WndProc(HWND hwnd, UINT message, WPARAM, LPARAM lparam, void *, FILTER *fp) try {
    switch (message) {
    case WM_FILTER_INIT:
        FilterState.FilterWindow = hwnd;
        if (FilterState.CreateConfigDialog)
            FilterState.ConfigDialog.reset(FilterState.CreateConfigDialog(hwnd));
        return IsActive(fp);
    case WM_FILTER_EXIT: FilterState.ConfigDialog.reset(); return FALSE;
    case WM_FILTER_CHANGE_ACTIVE:
        if (!IsActive(fp)) FilterState.GammaTables.FreeGammaTables();
        return FALSE;
    case WM_CONFIG_CHANGED: return IsActive(fp);
    case WM_FILTER_OFFER:
        return AnswerOffer(FilterState.Plugins, FilterState.HostMaxWidth, FilterState.HostMaxHeight,
                           lparam);
    default: return FALSE;
    }
} catch (...) {
    return FALSE;
}

BOOL MV_CDECL func_proc(FILTER *fp, FILTER_PROC_INFO *fpip) {
    try {
        TGammaTables &tables = FilterState.GammaTables;
        if (!tables.Built()) tables.BuildGammaTables(2.2);
        UpdateConfigIfChanged();
        const TFilterState &s = FilterState;
        if (s.ResizeDriver)
            ResizeHostFrame(*s.ResizeDriver, fp, fpip, s.FilterConfig.Width, s.FilterConfig.Height);
    } catch (...) {
        // The frame passes unchanged; the next one tries again.
    }
    return TRUE;
}
