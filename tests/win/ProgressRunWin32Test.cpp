// A full Optimize and a full Restore run through the real progress window,
// against the registry of the test's own Wine prefix, with short pacing.
#include "appearance/Captions.h"
#include "common/Screenshot.h"
#include "forms/KVSettingsFormLayout.h"
#include "registry/CustomRegistry.h"
#include "tuning/RunHost.h"
#include "tuning/TweakCatalogue.h"
#include "win/Win32Environment.h"
#include "windows/KVSettingsFormWin32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <deque>
#include <set>

namespace kavrolt::test {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// Stands in for the main window: a plain window to centre over and disable.
class WindowHost : public RunHost {
public:
    WindowHost() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = L"KavroltTestMain";
        RegisterClassW(&windowClass);
        main = CreateWindowExW(0, L"KavroltTestMain", L"Main", WS_OVERLAPPEDWINDOW, 100, 80, 780,
                               540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(main, SW_SHOW);
        progress.Create(main);
    }
    ~WindowHost() override { DestroyWindow(main); }

    HWND main = nullptr;
    win::KVSettingsForm progress{kFastPacing};
    std::deque<int> answers;
    std::vector<std::pair<std::u16string, unsigned>> boxes;
    std::function<void(int step)> duringStep;
    int steps = 0;
    int restoreButton = -1;

    int WindowsListIndex() override { return 0; }
    int ProcessorListIndex() override { return 1; }
    int SpeedPosition() override { return 1; }
    void EnableMainWindow(bool on) override { EnableWindow(main, on); }
    void EnableRestoreButton(bool on) override { restoreButton = on; }
    void ShowProgress() override { progress.Presenter().Show(); }
    void SetStepCounters(int total, int count) override {
        progress.Presenter().SetStepCounters(total, count);
    }
    void SetProgressHeading(std::u16string_view text) override {
        progress.Presenter().SetHeading(text);
    }
    void AdvanceProgressStep(std::u16string_view text) override {
        progress.Presenter().AdvanceProgressStep(text);
        ++steps;
        if (duringStep)
            duringStep(steps);
    }
    void CloseProgress() override { progress.Presenter().Close(); }
    int ShowMessage(std::u16string_view text, unsigned flags) override {
        boxes.emplace_back(text, flags);
        const int answer = answers.empty() ? IDNO : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        return kavrolt::LoadCaption(window, key);
    }
    void PlayClickSound() override {}
    void RestartWindows() override { ADD_FAILURE() << "no restart was asked for"; }
    RegistryStore& Registry() override { return DefaultRegistryStore(); }
};

const TweakEntry& Row(int n) {
    return kTweakCatalogue[static_cast<std::size_t>(n - 1)];
}

// Notes the text that a control shows each time it paints.
std::vector<std::wstring>* g_paintedTexts = nullptr;
WNDPROC g_staticProc = nullptr;
LRESULT CALLBACK NotePaintedText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT && g_paintedTexts)
        g_paintedTexts->push_back(TextOf(window));
    return CallWindowProcW(g_staticProc, window, message, wParam, lParam);
}

TEST(ProgressRun, TheHeadingIsSetBeforeTheWindowFirstPaints) {
    Win32Environment env;
    WindowHost host;
    HWND heading = host.progress.Control(SettingsControl::CurrentSettingsHeading);
    ASSERT_NE(heading, nullptr);
    g_staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(heading, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NotePaintedText)));
    std::vector<std::wstring> optimizePaints, restorePaints;
    g_paintedTexts = &optimizePaints;
    GoButtonClick(host);
    g_paintedTexts = &restorePaints;
    host.answers = {IDOK, IDNO};
    RestoreButtonClick(host);
    g_paintedTexts = nullptr;
    SetWindowLongPtrW(heading, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_staticProc));
    const std::wstring optimizing =
        L"Optimizing the computer's gaming and system performance settings";
    const std::wstring restoring =
        L"Restoring the computer's gaming and system performance settings";
    ASSERT_FALSE(optimizePaints.empty());
    ASSERT_FALSE(restorePaints.empty());
    for (const auto& text : optimizePaints)
        EXPECT_EQ(text, optimizing);
    for (const auto& text : restorePaints)
        EXPECT_EQ(text, restoring); // never the heading of the run before
}

TEST(ProgressRun, OptimizeThenRestoreThroughTheProgressWindow) {
    Win32Environment env;
    for (const auto& row : kTweakCatalogue) {
        env.Remove(row.root, row.path, row.name);
        env.Remove(kHkeyLocalMachine, kProgramKey, row.name);
    }
    for (auto name : {u"Restore", u"ProcessorType", u"SpeedSetting"})
        env.Remove(kHkeyLocalMachine, kProgramKey, name);
    env.Put(Row(15).root, Row(15).path, Row(15).name, {kRegDword, DwordBytes(38)});
    env.Put(Row(12).root, Row(12).path, Row(12).name, {kRegSz, Utf16Bytes(u"0")});

    WindowHost host;
    HWND window = host.progress.Handle();
    std::set<std::wstring> labelsSeen;
    host.duringStep = [&](int step) {
        labelsSeen.insert(TextOf(host.progress.Control(SettingsControl::CurrentSettingsLabel)));
        if (step == 15 || step == 31 + 22) {
            EXPECT_TRUE(IsWindowVisible(window));
            EXPECT_FALSE(IsWindowEnabled(host.main));
            RECT main{}, own{};
            GetWindowRect(host.main, &main);
            GetWindowRect(window, &own);
            EXPECT_NEAR((own.left + own.right) / 2, (main.left + main.right) / 2, 1);
            EXPECT_NEAR((own.top + own.bottom) / 2, (main.top + main.bottom) / 2, 1);
            RECT client{};
            GetClientRect(window, &client);
            EXPECT_EQ(client.right, host.progress.Scale(479));
            EXPECT_EQ(client.bottom, host.progress.Scale(146));
            EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU, 0);
            const int bar = static_cast<int>(SendMessageW(
                host.progress.Control(SettingsControl::MainProgress), PBM_GETPOS, 0, 0));
            EXPECT_EQ(bar, step == 15 ? 48 : 81);
            SaveWindowScreenshot(window, step == 15 ? "progress-optimize" : "progress-restore");
        }
    };

    GoButtonClick(host);
    EXPECT_EQ(host.steps, 31);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowEnabled(host.main));
    EXPECT_EQ(host.restoreButton, 1);
    EXPECT_EQ(TextOf(window), L"Updating computer's gaming and system performance settings");
    EXPECT_EQ(TextOf(host.progress.Control(SettingsControl::CurrentSettingsHeading)),
              L"Optimizing the computer's gaming and system performance settings");
    EXPECT_EQ(TextOf(host.progress.Control(SettingsControl::CurrentSettingsLabel)),
              L"Writing new gaming and system settings...");
    EXPECT_EQ(host.progress.Presenter().Progress().stepCount, 31);
    EXPECT_TRUE(labelsSeen.count(L"Finding 3D graphics device..."));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].second, 0x134u);
    EXPECT_EQ(host.boxes[0].first.substr(0, 30), u"The changes to the computer's ");

    // Every catalogue row of Windows 10 and every ProgramKey value.
    for (int n = 1; n <= 33; ++n) {
        const auto& row = Row(n);
        const auto value = env.Get(row.root, row.path, row.name);
        if (n == 31) {
            EXPECT_FALSE(value) << n;
            continue;
        }
        ASSERT_TRUE(value) << n;
        const RawValue expected =
            row.form == TweakForm::Integer ? RawValue{kRegDword, DwordBytes(row.number)}
            : row.form == TweakForm::Text  ? RawValue{kRegSz, Utf16Bytes(row.text)}
                                           : RawValue{kRegBinary, {0, 0, 0, 0}};
        EXPECT_EQ(*value, expected) << n;
    }
    auto programValue = [&](std::u16string_view name) {
        return env.Get(kHkeyLocalMachine, kProgramKey, name);
    };
    EXPECT_EQ(programValue(u"Restore"), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(programValue(u"ProcessorType"), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(programValue(u"SpeedSetting"), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(programValue(u"Win32PrioritySeparation"), (RawValue{kRegDword, DwordBytes(38)}));
    EXPECT_EQ(programValue(u"MinAnimate"), (RawValue{kRegSz, Utf16Bytes(u"0")}));
    EXPECT_EQ(programValue(u"NtfsMftZoneReservation"), (RawValue{kRegDword, DwordBytes(0)}));

    host.answers = {IDOK, IDNO};
    RestoreButtonClick(host);
    EXPECT_EQ(host.steps, 31 + 27);
    EXPECT_EQ(host.restoreButton, 0);
    EXPECT_EQ(TextOf(host.progress.Control(SettingsControl::CurrentSettingsHeading)),
              L"Restoring the computer's gaming and system performance settings");
    EXPECT_EQ(host.boxes.size(), 3u);
    for (int n = 1; n <= 33; ++n) {
        const auto value = env.Get(Row(n).root, Row(n).path, Row(n).name);
        EXPECT_EQ(value.has_value(), Row(n).restore == RestoreAction::FromBackup) << n;
    }
    EXPECT_EQ(env.Get(Row(15).root, Row(15).path, Row(15).name),
              (RawValue{kRegDword, DwordBytes(38)}));
    EXPECT_EQ(env.Get(Row(12).root, Row(12).path, Row(12).name),
              (RawValue{kRegSz, Utf16Bytes(u"0")}));
    EXPECT_EQ(env.Get(Row(2).root, Row(2).path, Row(2).name), (RawValue{kRegDword, DwordBytes(0)}));
    EXPECT_FALSE(programValue(u"Restore"));
    EXPECT_FALSE(programValue(u"Win32PrioritySeparation"));
    EXPECT_TRUE(programValue(u"ProcessorType"));
}

} // namespace
} // namespace kavrolt::test
