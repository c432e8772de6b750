// Hundreds of seeded random changes of size, window function, parameter and
// kernel between frames, on 1 to 64 host threads, first through the saved
// block as a project restores it and then through the dialog's handlers:
// every frame equals the reference model. Under ThreadSanitizer this is
// where a driver rebuilt between frames would race its own workers.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "standin/StandinHost.h"
#include "dialog/ConfigDlg.h"
#include "dialog/HeadlessForm.h"
#include "host/DialogHookup.h"
#include "abi/FilterConfig.h"
#include "plugins/PluginName.h"
#include "host/PluginMain.h"
#include "plugins/WindowFuncPlugin.h"
#include "resize/AreaAverage.h"
#include "resize/FilterPluginList.h"
#include "resize/NormalWeightSetter.h"
#include "tests/host/BlockReference.h"
#include "tests/host/Installation.h"
#include "tests/support/ExpectedFrame.h"
#include "tests/support/TestFrames.h"
#include "tests/support/TestHost.h"
#include "tests/support/TestPaths.h"

using host_test::TInstallation;

namespace {

constexpr int kMaxWidth = 96;
constexpr int kMaxHeight = 72;
const char *const kAreaAverage = "AreaAverage";

// An installation with both kernels where this build has the second.
std::string InstallWithKernels(const TInstallation &inst) {
    inst.AddPlugins("DLL");
    const std::string varnoth = testing_support::PluginPath("Varnoth.dll");
    if (std::filesystem::exists(varnoth))
        std::filesystem::copy_file(varnoth, inst.Path() + "DLL/Varnoth.dll");
    return inst.AddFilter();
}

using host_test::TLists;

// What the filter must make of `src` with the block it actually kept.
std::vector<PIXEL_YC> Expected(const TLists &lists, const TFilterConfig &used, const PIXEL_YC *src,
                               int pitch, int sw, int sh) {
    return host_test::ExpectedForBlock(lists, used, src, pitch, sw, sh, kMaxWidth, kMaxHeight);
}

// The seeded choices both halves make.
struct TChooser {
    std::mt19937 Random{20261208};
    const TWndFuncPluginList &Funcs;
    std::vector<std::string> Kernels{"SSE", "AVX", "", "NoSuchKernel"};

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    int Threads(int round) { return round == 0 ? 1 : round == 1 ? 64 : Between(2, 63); }
    // Mostly sizes the frame can hold; now and then one it cannot.
    std::pair<int, int> TargetSize() {
        if (Between(0, 9) == 0) return {Between(-1, 0), Between(kMaxHeight + 1, 5000)};
        return {Between(1, kMaxWidth), Between(1, kMaxHeight)};
    }
    // A function index, Count() standing for the area average.
    int Function() { return Between(0, Funcs.Count()); }
    std::string FunctionName(int index) {
        return index == Funcs.Count() ? kAreaAverage : Funcs.Items(index)->name;
    }
    // `name` with each letter's case flipped now and then.
    std::string AnyCase(std::string name) {
        for (char &c : name)
            if (std::isalpha(static_cast<unsigned char>(c)) && Between(0, 2) == 0)
                c = char(c ^ 0x20);
        return name;
    }
    // A project's block: names in any letter case, unknown now and then.
    TFilterConfig ProjectBlock() {
        TFilterConfig b = InitialFilterConfig;
        std::tie(b.Width, b.Height) = TargetSize();
        const int f = Function();
        WriteConfigName(b.WndFuncName, Between(0, 7) ? AnyCase(FunctionName(f)) : "NoSuchFunction");
        b.WndFuncParam = Param(f);
        WriteConfigName(b.FilterPluginName, AnyCase(Kernels[Between(0, int(Kernels.size()) - 1)]));
        return b;
    }
    // Inside the function's limits and, now and then, just outside.
    int Param(int index) {
        if (index == Funcs.Count()) return 0;
        const WindowFuncPluginInfo *f = Funcs.Items(index);
        return Between(f->paramMin - 1, f->paramMax + 1);
    }
};

// An installation with both kernels, its lists as the filter reads them, and
// the seeded choices of one test.
class ReconfigurationStress : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(lists.WndFuncPlugins.Count(), 2);
        ASSERT_GE(lists.FilterPlugins.Count(), 1);
    }

    struct TCounts {
        int frames = 0, shown = 0, resized = 0;
    };
    // A frame through the filter at `step`: its bytes as `block` says and,
    // while the dialog exists, the dialog showing `block`.
    void FrameAsTheBlockSays(FILTER &fp, const TFilterConfig &block, int step, TCounts &counts);

    TInstallation inst;
    const std::string filter = InstallWithKernels(inst);
    const TLists lists{inst.Path() + "DLL"};
    const TWndFuncPluginList &funcs = lists.WndFuncPlugins;
    TChooser choose{.Funcs = funcs};
};

TEST_F(ReconfigurationStress, SavedBlockChangesBetweenFramesThroughTheStandinHost) {
    int frames = 0, resized = 0;
    for (int round = 0; round < 6; ++round) {
        const int threads = choose.Threads(round);
        TStandinHost host(filter, kMaxWidth, kMaxHeight, threads);
        ASSERT_EQ(host.Init(), TRUE);
        if (round % 2) host.OpenWindow();  // the dialog refreshes from each restored block
        TFilterConfig block = InitialFilterConfig;
        for (int i = 0; i < 50; ++i, ++frames) {
            // One to three of the four things change before each frame.
            for (int changes = choose.Between(1, 3); changes > 0; --changes) {
                switch (choose.Between(0, 3)) {
                case 0: std::tie(block.Width, block.Height) = choose.TargetSize(); break;
                case 1: {
                    const int f = choose.Function();
                    WriteConfigName(block.WndFuncName, choose.FunctionName(f));
                    block.WndFuncParam = choose.Param(f);
                    break;
                }
                case 2: {
                    const int f = funcs.IndexOf(ReadConfigName(block.WndFuncName));
                    block.WndFuncParam = choose.Param(f < 0 ? funcs.Count() : f);
                    break;
                }
                case 3:
                    WriteConfigName(
                        block.FilterPluginName,
                        choose.Kernels[choose.Between(0, int(choose.Kernels.size()) - 1)]);
                    break;
                }
            }
            host.RestoreProject(&block, sizeof block);
            TFilterConfig used;
            std::memcpy(&used, host.SaveProject().data(), sizeof used);

            TYcImage src(choose.Between(1, kMaxWidth), choose.Between(1, kMaxHeight));
            testing_support::FillRandomPixels(src.Pixels.data(), src.Width, src.Width, src.Height,
                                              uint32_t(frames));
            const TYcImage out = host.ProcessFrame(src).Image;
            resized += out.Width != src.Width || out.Height != src.Height;
            const std::vector<PIXEL_YC> expected =
                Expected(lists, used, src.Pixels.data(), src.Width, src.Width, src.Height);
            ASSERT_EQ(expected.size(), out.Pixels.size()) << "frame " << frames;
            ASSERT_TRUE(testing_support::SameImage(expected.data(), out.Width, out.Pixels.data(),
                                                   out.Width, out.Width, out.Height))
                << "frame " << frames << " on " << threads << " threads, "
                << ReadConfigName(used.WndFuncName) << " " << used.WndFuncParam << " "
                << ReadConfigName(used.FilterPluginName) << " to " << used.Width << "x"
                << used.Height;
        }
    }
    EXPECT_EQ(frames, 300);
    EXPECT_GT(resized, frames / 2);  // the changes mostly ask for another size
}

// The dialog on in-memory controls inside the filter built into this test,
// its form kept where the test can play the user.
dialog::THeadlessForm *Form = nullptr;
const HWND FilterWindowToken = reinterpret_cast<HWND>(uintptr_t(0x4d56));

class TTestDialog : public TConfigDialogBase {
public:
    TTestDialog() {
        auto form = std::make_unique<dialog::THeadlessForm>();
        Form = form.get();
        FDialog =
            std::make_unique<TConfigDialog>(HostedDialogModel(FilterWindowToken), std::move(form));
    }
    ~TTestDialog() override { Form = nullptr; }
    void LoadFromConfig() override { FDialog->LoadFromConfig(); }

private:
    std::unique_ptr<TConfigDialog> FDialog;
};

BOOL MV_CDECL SysInfo(void *, SYS_INFO *info) {
    *info = SYS_INFO{};
    info->max_w = kMaxWidth;
    info->max_h = kMaxHeight;
    return TRUE;
}

BOOL MV_CDECL Active(FILTER *) { return TRUE; }

// The filter built into this test, loaded from `filter` with the test's
// dialog and driven by the callbacks on `threads` host threads. Whatever
// the test's outcome, leaving releases the dialog and closes the filter,
// so that no driver outlives the libraries its builder holds a context of
// and the next test starts from a closed filter.
class TBuiltInFilter {
public:
    TBuiltInFilter(const std::string &filter, int threads)
        : host(threads), FHosted(FilterState.CreateConfigDialog) {
        FilterState.CreateConfigDialog = [](HWND) -> TConfigDialogBase * {
            return new TTestDialog;
        };
        host.exfunc.get_sys_info = SysInfo;
        host.exfunc.is_filter_active = Active;
        fp = *LoadFilterTable(filter);
        fp.exfunc = &host.exfunc;
    }
    ~TBuiltInFilter() {
        if (FilterState.ConfigDialog) Message(WM_FILTER_EXIT);
        func_exit(&fp);
        FilterState.CreateConfigDialog = FHosted;
    }
    TBuiltInFilter(const TBuiltInFilter &) = delete;
    TBuiltInFilter &operator=(const TBuiltInFilter &) = delete;
    void Message(UINT message) { func_WndProc(FilterWindowToken, message, 0, 0, nullptr, &fp); }

    testing_support::TTestHost host;
    FILTER fp{};

private:
    const ConfigDialogFactory FHosted;
};

// One of the user's changes in the dialog, chosen at random.
void PlayTheUser(TChooser &choose) {
    auto &sizes = Form->Combo(Form->cbSizeList);
    auto &functions = Form->Combo(Form->cbLumaMode);
    auto &kernels = Form->Combo(Form->cbSIMDMode);
    switch (choose.Between(0, 4)) {
    case 0: {  // a new size typed in, beyond the host's largest now and then
        const auto [w, h] = choose.TargetSize();
        Form->FPromptAnswers.push_back(std::to_string(w) + "x" + std::to_string(h));
        Form->Button(Form->btnAddSize).Click();
        break;
    }
    case 1: sizes.Select(choose.Between(0, sizes.Count() - 1)); break;
    case 2: functions.Select(choose.Between(0, functions.Count() - 1)); break;
    case 3: Form->UpDown().Click(choose.Between(0, 1) ? 1 : -1); break;
    case 4: kernels.Select(choose.Between(0, kernels.Count() - 1)); break;
    }
}

TEST_F(ReconfigurationStress, DialogChangesBetweenFramesOnTheFiltersThreads) {
    int frames = 0, resized = 0;
    for (int round = 0; round < 4; ++round) {
        TBuiltInFilter built(filter, choose.Threads(round));
        FILTER &fp = built.fp;
        ASSERT_EQ(func_init(&fp), TRUE);
        built.Message(WM_FILTER_INIT);
        ASSERT_NE(Form, nullptr);
        for (int i = 0; i < 50; ++i, ++frames) {
            PlayTheUser(choose);
            TFilterConfig used;
            std::memcpy(&used, fp.ex_data_ptr, sizeof used);

            const int sw = choose.Between(1, kMaxWidth), sh = choose.Between(1, kMaxHeight);
            testing_support::THostFrames frame(kMaxWidth, kMaxHeight, sw, sh);
            testing_support::FillRandomPixels(frame.info.ycp_edit, kMaxWidth, sw, sh,
                                              uint32_t(frames));
            const std::vector<PIXEL_YC> expected =
                Expected(lists, used, frame.info.ycp_edit, kMaxWidth, sw, sh);
            ASSERT_EQ(func_proc(&fp, &frame.info), TRUE);
            resized += frame.info.w != sw || frame.info.h != sh;
            ASSERT_EQ(std::size_t(frame.info.w) * frame.info.h, expected.size())
                << "frame " << frames;
            ASSERT_TRUE(testing_support::SameImage(expected.data(), frame.info.w,
                                                   frame.info.ycp_edit, kMaxWidth, frame.info.w,
                                                   frame.info.h))
                << "frame " << frames << ", " << ReadConfigName(used.WndFuncName) << " "
                << used.WndFuncParam << " " << ReadConfigName(used.FilterPluginName) << " to "
                << used.Width << "x" << used.Height;
        }
    }
    EXPECT_EQ(frames, 200);
    EXPECT_GT(resized, frames / 2);  // the changes mostly ask for another size
}

void ReconfigurationStress::FrameAsTheBlockSays(FILTER &fp, const TFilterConfig &block, int step,
                                                TCounts &counts) {
    const int sw = choose.Between(1, kMaxWidth), sh = choose.Between(1, kMaxHeight);
    testing_support::THostFrames frame(kMaxWidth, kMaxHeight, sw, sh);
    testing_support::FillRandomPixels(frame.info.ycp_edit, kMaxWidth, sw, sh, uint32_t(step));
    std::vector<PIXEL_YC> src(std::size_t(sw) * sh);
    for (int y = 0; y < sh; ++y)
        std::memcpy(&src[std::size_t(y) * sw], frame.info.ycp_edit + y * kMaxWidth,
                    sw * sizeof(PIXEL_YC));
    ASSERT_EQ(func_proc(&fp, &frame.info), TRUE);
    const TFilterConfig used = block;
    const std::string what =
        "step " + std::to_string(step) + ", " + ReadConfigName(used.WndFuncName) + " " +
        std::to_string(used.WndFuncParam) + " " + ReadConfigName(used.FilterPluginName) + " to " +
        std::to_string(used.Width) + "x" + std::to_string(used.Height);
    const std::vector<PIXEL_YC> expected = Expected(lists, used, src.data(), sw, sw, sh);
    ++counts.frames;
    counts.resized += frame.info.w != sw || frame.info.h != sh;
    ASSERT_EQ(std::size_t(frame.info.w) * frame.info.h, expected.size()) << what;
    ASSERT_TRUE(testing_support::SameImage(expected.data(), frame.info.w, frame.info.ycp_edit,
                                           kMaxWidth, frame.info.w, frame.info.h))
        << what;
    if (!Form) return;
    ++counts.shown;
    EXPECT_EQ(Form->Combo(Form->cbSizeList).Text(),
              std::to_string(used.Width) + "x" + std::to_string(used.Height))
        << what;
    EXPECT_EQ(Form->Combo(Form->cbLumaMode).Text(), ReadConfigName(used.WndFuncName)) << what;
    EXPECT_EQ(Form->Combo(Form->cbSIMDMode).Text(), ReadConfigName(used.FilterPluginName)) << what;
    if (Form->pnlLumaParam->Visible()) {
        EXPECT_EQ(Form->UpDown().Position(), used.WndFuncParam) << what;
    }
}

// Any order the editor may take: blocks restored with or without
// func_update, func_update alone, the dialog made and released, frames.
// After every frame its bytes are what the block says at that moment, and
// the dialog, while it exists, shows that block.
TEST_F(ReconfigurationStress, AnyOrderOfCallsGivesFramesAsTheBlockSays) {
    TBuiltInFilter built(filter, 3);
    FILTER &fp = built.fp;
    ASSERT_EQ(func_init(&fp), TRUE);
    TFilterConfig &block = *static_cast<TFilterConfig *>(fp.ex_data_ptr);
    bool open = false;
    TCounts counts;
    const auto &[frames, shown, resized] = counts;
    for (int step = 0; step < 400; ++step) {
        switch (choose.Between(0, 5)) {
        case 0:
        case 1:
            block = choose.ProjectBlock();
            if (choose.Between(0, 1)) func_update(&fp, 0);
            break;
        case 2: func_update(&fp, 0); break;
        case 3:
            built.Message(open ? WM_FILTER_EXIT : WM_FILTER_INIT);
            open = !open;
            ASSERT_EQ(Form != nullptr, open);
            break;
        default:
            FrameAsTheBlockSays(fp, block, step, counts);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(frames, 100);
    EXPECT_GT(shown, 30);
    EXPECT_GT(resized, frames / 3);
}

}  // namespace
