// The dialog's logic on in-memory controls, over the built window functions
// (Spline16 ... Lanczos with "taps", Bicubic, Bilinear) and kernels.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog/ConfigDlg.h"
#include "dialog/DialogTexts.h"
#include "dialog/HeadlessForm.h"
#include "abi/FilterConfig.h"
#include "tests/support/TestPaths.h"

using namespace dialog;
using Items = std::vector<std::string>;

namespace {

const HWND FilterWindow = reinterpret_cast<HWND>(uintptr_t(0x4d56));

class ConfigDialog : public ::testing::Test {
protected:
    TPluginSet plugins;
    TWndFuncPluginList &funcs = plugins.WndFuncPlugins;
    TFilterPluginList &kernels = plugins.FilterPlugins;
    std::vector<int16_t> &params = plugins.WndFuncParams;
    TFilterConfig config = InitialFilterConfig;
    std::string sizeList = "512x384";
    std::vector<std::string> events;  // "apply" and "sent", in order
    bool applyThrows = false;
    std::unique_ptr<TConfigDialog> dlg;
    THeadlessForm *form = nullptr;

    void SetUp() override {
        plugins.LoadFromDir(testing_support::PluginDir());
        ASSERT_GE(funcs.IndexOf("Lanczos"), 0);
        ASSERT_GE(kernels.Count(), 1);
        for (int i = 0; i < funcs.Count(); ++i) params.push_back(funcs.Items(i)->paramDefault);
    }
    void Make(const std::vector<std::string> &fonts = {}) {
        auto f = std::make_unique<THeadlessForm>();
        form = f.get();
        f->FInstalledFonts = fonts;
        f->FOnSend = [this](const TSentMessage &m) {
            EXPECT_EQ(m.Window, FilterWindow);
            EXPECT_EQ(m.Message, 0x8200u);
            EXPECT_EQ(m.WParam, 0u);
            EXPECT_EQ(m.LParam, 0);
            events.push_back("sent");
        };
        const TConfigDialogModel model{config, sizeList, plugins, FilterWindow, 1920, 1080, [this] {
                                           if (applyThrows) throw std::runtime_error("apply");
                                           events.push_back("apply");
                                       }};
        dlg = std::make_unique<TConfigDialog>(model, std::move(f));
    }
    THeadlessComboBox &Sizes() { return form->Combo(form->cbSizeList); }
    THeadlessComboBox &Funcs() { return form->Combo(form->cbLumaMode); }
    THeadlessButton &DeleteButton() { return form->Button(form->btnDeleteSize); }
    void Add(std::optional<std::string> answer) {
        form->FPromptAnswers.push_back(answer);
        form->Button(form->btnAddSize).Click();
    }
    // Each change applied once and then told to the window, in that order.
    int Notifications() const {
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_EQ(events[i], i % 2 ? "sent" : "apply");
        EXPECT_EQ(events.size() % 2, 0u);
        return int(events.size() / 2);
    }
    void ExpectSize(int w, int h) {
        EXPECT_EQ(config.Width, w);
        EXPECT_EQ(config.Height, h);
    }
};

TEST(ParseSize, AcceptsOnlyTwoPositiveDecimalsAroundALowercaseX) {
    const struct {
        const char *text;
        int w, h;
    } cases[] = {{"640x480", 640, 480},
                 {" 640x 480", 640, 480},
                 {"+640x-0480", 0, 0},
                 {"640x+480", 640, 480},
                 {"800X600", 0, 0},
                 {"x600", 0, 0},
                 {"800x", 0, 0},
                 {"0x600", 0, 0},
                 {"800x-600", 0, 0},
                 {"800x600 ", 0, 0},
                 {"8x6x4", 0, 0},
                 {"99999999999x5", 0, 0},
                 {"", 0, 0}};
    for (const auto &c : cases) EXPECT_EQ(ParseSize(c.text), std::make_pair(c.w, c.h)) << c.text;
}

TEST_F(ConfigDialog, PromptAddsValidSizesInOrderAndAppliesThem) {
    sizeList = "640x480,1280x720";
    config.Width = 640;
    config.Height = 480;
    const struct {
        std::optional<std::string> answer;
        Items items;        // afterwards
        int width, height;  // target afterwards
        int warnings;
    } steps[] = {
        {std::nullopt, {"640x480", "1280x720"}, 640, 480, 0},
        {"800X600", {"640x480", "1280x720"}, 640, 480, 0},
        {"x600", {"640x480", "1280x720"}, 640, 480, 0},
        {"800x", {"640x480", "1280x720"}, 640, 480, 0},
        {"0x600", {"640x480", "1280x720"}, 640, 480, 0},
        {"800x-600", {"640x480", "1280x720"}, 640, 480, 0},
        {" \t\x7f"
         "800x600 \x01",
         {"640x480", "800x600", "1280x720"},
         800,
         600,
         0},
        {"1921x600", {"640x480", "800x600", "1280x720"}, 800, 600, 1},
        {"800x1081", {"640x480", "800x600", "1280x720"}, 800, 600, 2},
        {"640X480", {"640x480", "800x600", "1280x720"}, 640, 480, 2},  // listed: selected
        {"640x400", {"640x400", "640x480", "800x600", "1280x720"}, 640, 400, 2},
        {"1920x1080", {"640x400", "640x480", "800x600", "1280x720", "1920x1080"}, 1920, 1080, 2},
    };
    Make();
    int notified = 0;
    for (const auto &s : steps) {
        const bool changes =
            s.items != Sizes().FItems || s.width != config.Width || s.height != config.Height;
        Add(s.answer);
        const std::string what = s.answer.value_or("<cancel>");
        EXPECT_EQ(Sizes().FItems, s.items) << what;
        EXPECT_EQ(Sizes().Text(), std::to_string(s.width) + "x" + std::to_string(s.height)) << what;
        ExpectSize(s.width, s.height);
        EXPECT_EQ(int(form->FWarnings.size()), s.warnings) << what;
        if (changes) {
            EXPECT_EQ(sizeList, Sizes().CommaText()) << what;
        }
        EXPECT_EQ(Notifications(), notified += changes) << what;
    }
    EXPECT_EQ(form->FPrompts.back().Caption, dialog_text::AddSizeCaption);
    EXPECT_EQ(form->FPrompts.back().Text, dialog_text::AddSizePrompt);
    EXPECT_EQ(form->FWarnings.back().Caption, dialog_text::WarningCaption);
    EXPECT_EQ(form->FWarnings.back().Text, dialog_text::TooLargeText);
}

TEST_F(ConfigDialog, SavedListIsSortedWithoutDuplicatesAndNotRewrittenByShowing) {
    sizeList = "1280x720,640x480,bad,640x480,4000x3000,\"640x400\"";
    config.Width = 640;
    config.Height = 480;
    Make();
    EXPECT_EQ(Sizes().FItems, (Items{"640x400", "640x480", "1280x720"}));
    EXPECT_EQ(Sizes().Text(), "640x480");
    EXPECT_EQ(form->FWarnings.size(), 1u);
    EXPECT_EQ(sizeList, "1280x720,640x480,bad,640x480,4000x3000,\"640x400\"");
    EXPECT_EQ(Notifications(), 0);
    EXPECT_EQ(form->FPanelParent, FilterWindow);
    EXPECT_EQ(form->edtLumaParam->WindowStyle(), EditStyleNumber | EditStyleRight);
}

TEST_F(ConfigDialog, LoadFromConfigInsertsAValidConfiguredSizeButLeavesTheSavedList) {
    sizeList = "640x480,1280x720";
    config.Width = 800;
    config.Height = 600;
    Make();
    EXPECT_EQ(Sizes().FItems, (Items{"640x480", "800x600", "1280x720"}));
    EXPECT_EQ(Sizes().Text(), "800x600");
    EXPECT_EQ(sizeList, "640x480,1280x720");
    // Too large or invalid: refused, the first size becomes the target.
    config.Width = 4000;
    dlg->LoadFromConfig();
    EXPECT_EQ(form->FWarnings.size(), 1u);
    ExpectSize(640, 480);
    EXPECT_EQ(Sizes().ItemIndex(), 0);
    config.Width = -5;
    dlg->LoadFromConfig();
    ExpectSize(640, 480);
    EXPECT_EQ(Notifications(), 0);
    // The next add writes the shown list, the inserted size included.
    Add("720x480");
    EXPECT_EQ(sizeList, "640x480,720x480,800x600,1280x720");
}

TEST_F(ConfigDialog, DeletingSelectsTheNeighbourAndNeverTheLastSize) {
    sizeList = "320x240,640x480,800x600,1280x720";
    config.Width = 1280;
    config.Height = 720;
    Make();
    const struct {
        int select;  // -1: keep
        Items items;
        std::string selected;
    } steps[] = {
        {-1, {"320x240", "640x480", "800x600"}, "800x600"},  // the last: the new last
        {1, {"320x240", "800x600"}, "800x600"},              // inner: the one moved up
        {-1, {"320x240"}, "320x240"},
        {-1, {"320x240"}, "320x240"},  // disabled: nothing happens
    };
    int notified = 0, repaints = 0;
    for (const auto &s : steps) {
        if (s.select >= 0) Sizes().SetItemIndex(s.select);
        const bool enabled = DeleteButton().Enabled();
        DeleteButton().Click();
        EXPECT_EQ(Sizes().FItems, s.items);
        EXPECT_EQ(Sizes().Text(), s.selected);
        EXPECT_EQ(config.Width, ParseSize(s.selected).first);
        EXPECT_EQ(sizeList, Sizes().CommaText());
        EXPECT_EQ(DeleteButton().Enabled(), s.items.size() > 1);
        EXPECT_EQ(Sizes().FRepaints, repaints += enabled);
        EXPECT_EQ(Notifications(), notified += enabled);
    }
}

TEST_F(ConfigDialog, DeleteIsDisabledRightAfterCreationWithOneSize) {
    sizeList = "";
    Make();
    EXPECT_EQ(Sizes().FItems, Items{"512x384"});
    EXPECT_FALSE(DeleteButton().Enabled());
}

TEST_F(ConfigDialog, WindowFunctionChoiceStoresNameAndRememberedParameter) {
    const int lanczos = funcs.IndexOf("Lanczos"), spline36 = funcs.IndexOf("Spline36");
    params[spline36] = 7;  // a function without parameter still hands on its remembered one
    params[lanczos] = 5;
    Make();
    const struct {
        int index;
        const char *name;
        int param;
        bool panel;
    } steps[] = {
        {funcs.Count(), "AreaAverage", 0, false},
        {spline36, "Spline36", 7, false},
        {lanczos, "Lanczos", 5, true},
    };
    for (const auto &s : steps) {
        Funcs().Select(s.index);
        EXPECT_EQ(std::string(config.WndFuncName), s.name);
        EXPECT_EQ(config.WndFuncParam, s.param) << s.name;
        EXPECT_EQ(form->pnlLumaParam->Visible(), s.panel) << s.name;
        EXPECT_EQ(form->edtLumaParam->Visible(), s.panel) << s.name;
        EXPECT_EQ(form->udLumaParam->Visible(), s.panel) << s.name;
    }
    EXPECT_EQ(form->pnlLumaParam->Caption(), funcs.Items(lanczos)->paramName);
    EXPECT_EQ(form->udLumaParam->Min(), funcs.Items(lanczos)->paramMin);
    EXPECT_EQ(form->udLumaParam->Max(), funcs.Items(lanczos)->paramMax);
    EXPECT_EQ(form->udLumaParam->Position(), 5);
    // Re-selecting the named entry keeps a parameter set meanwhile.
    config.WndFuncParam = 6;
    Funcs().Select(lanczos);
    EXPECT_EQ(config.WndFuncParam, 6);
    EXPECT_EQ(Notifications(), 4);
}

TEST_F(ConfigDialog, UpDownStoresValuesInsideTheFunctionsLimitsOnly) {
    const int lanczos = funcs.IndexOf("Lanczos");
    const int16_t max = funcs.Items(lanczos)->paramMax;
    StoreName("Lanczos", config.WndFuncName);
    config.WndFuncParam = max - 1;
    params[lanczos] = max - 1;
    Make();
    form->UpDown().Click(+1);
    EXPECT_EQ(config.WndFuncParam, max);
    EXPECT_EQ(params[lanczos], max);
    form->UpDown().Click(+1);  // announced past the range: nothing stored, nothing sent
    EXPECT_EQ(config.WndFuncParam, max);
    EXPECT_EQ(Notifications(), 1);
    dlg->udLumaParamChangingEx(nullptr, -1);
    EXPECT_EQ(config.WndFuncParam, max);
    Funcs().Select(funcs.Count());  // "AreaAverage": no record to store into
    dlg->udLumaParamChangingEx(nullptr, 1);
    EXPECT_EQ(config.WndFuncParam, 0);
    EXPECT_EQ(params[lanczos], max);
}

TEST_F(ConfigDialog, SavedNamesAreFoundIgnoringCaseAndRewritten) {
    const int lanczos = funcs.IndexOf("Lanczos");
    params[lanczos] = 4;
    const std::string kernel = kernels.Items(kernels.Count() - 1)->name;
    std::string lower = kernel;
    for (char &c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    const struct {
        const char *func;
        int param;
        std::string kernel;
        const char *expectFunc;
        int expectParam;
        std::string expectKernel;
    } cases[] = {
        {"lanczos", 2, lower, "Lanczos", 4, kernel},
        {"Lanczos", 2, kernel, "Lanczos", 2, kernel},  // already right: untouched
        {"NoSuchFunc", 9, "", funcs.Items(0)->name, params[0], kernels.Items(0)->name},
    };
    for (const auto &c : cases) {
        StoreName(c.func, config.WndFuncName);
        StoreName(c.kernel, config.FilterPluginName);
        config.WndFuncParam = c.param;
        if (!dlg)
            Make();
        else
            dlg->LoadFromConfig();
        EXPECT_EQ(std::string(config.WndFuncName), c.expectFunc) << c.func;
        EXPECT_EQ(config.WndFuncParam, c.expectParam) << c.func;
        EXPECT_EQ(std::string(config.FilterPluginName), c.expectKernel) << c.func;
    }
    EXPECT_EQ(Notifications(), 0);  // showing the block applies nothing
}

// Lists find an exact entry first, else the first that differs only in
// letter case as the editor's lists fold it in CP932: ASCII, full-width
// Latin, Greek and Cyrillic; never width, and never a trail byte.
TEST(ListLookup, ExactEntryFirstThenLetterCaseFoldedInCp932) {
    THeadlessComboBox list;
    list.FItems = {"Box",
                   "box",
                   "\x82\x60\x82\x79",                          // full-width A Z
                   "\x83\x9f\x83\xb6",                          // Greek Alpha Omega
                   "\x84\x40\x84\x46\x84\x4e\x84\x4f\x84\x60",  // Cyrillic A Yo En O Ya
                   "\x83\x41",                                  // katakana A: trail byte 'A'
                   "AZ"};
    const struct {
        const char *text;
        int index;
    } cases[] = {
        {"box", 1},
        {"Box", 0},
        {"BOX", 0},
        {"bOx", 0},
        {"\x82\x81\x82\x9a", 2},
        {"\x82\x60\x82\x9a", 2},
        {"\x83\xbf\x83\xd6", 3},
        {"\x84\x70\x84\x76\x84\x7e\x84\x80\x84\x91", 4},
        {"\x83\x61", -1},  // katakana Di: 'a' as trail byte
        {"az", 6},
        {"\x82\x60Z", -1},                                 // no width folding
        {"\x84\x70\x84\x76\x84\x7e\x84\x81\x84\x91", -1},  // Pe is not O
    };
    for (const auto &c : cases) EXPECT_EQ(list.IndexOf(c.text), c.index) << c.text;
}

TEST_F(ConfigDialog, KernelChoiceStoresItsName) {
    Make();
    form->Combo(form->cbSIMDMode).Select(kernels.Count() - 1);
    EXPECT_EQ(std::string(config.FilterPluginName), kernels.Items(kernels.Count() - 1)->name);
    EXPECT_EQ(Notifications(), 1);
}

TEST_F(ConfigDialog, FontPrefersMeiryoKeThenMeiryoUi) {
    const struct {
        std::vector<std::string> installed;
        const char *font;
    } cases[] = {
        {{"Arial", "Meiryo UI", "MeiryoKe_UIGothic"}, "MeiryoKe_UIGothic"},
        {{"Meiryo UI", "MS UI Gothic"}, "Meiryo UI"},
        {{"meiryo ui", "Arial"}, "Meiryo UI"},  // font names ignore case
        {{"Arial"}, "MS UI Gothic"},
    };
    for (const auto &c : cases) {
        Make(c.installed);
        EXPECT_EQ(form->FontName(), c.font);
    }
}

TEST_F(ConfigDialog, AFailingApplyStaysInsideTheHandler) {
    Make();
    applyThrows = true;
    EXPECT_NO_THROW(Funcs().Select(funcs.Count()));
    EXPECT_EQ(std::string(config.WndFuncName), "AreaAverage");
    EXPECT_NO_THROW(Add("1024x768"));
}

}  // namespace
