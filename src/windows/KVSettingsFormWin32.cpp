#include "windows/KVSettingsFormWin32.h"

#include "appearance/Captions.h"
#include "appearance/SystemFont.h"
#include "base/Failure.h"
#include "forms/KVSettingsFormLayout.h"
#include "forms/MessageLoopWin32.h"

#include <commctrl.h>

namespace kavrolt::win {
namespace {

constexpr int kHeading = 1;
constexpr int kStepLabel = 3;

std::uint64_t ClockSeed() {
    LARGE_INTEGER counter{};
    if (QueryPerformanceCounter(&counter))
        return static_cast<std::uint64_t>(counter.QuadPart);
    return GetTickCount();
}

} // namespace

KVSettingsForm::KVSettingsForm(const StepPacing& pacing)
    : Form(MakeSettingsFormModel(),
           WindowSpec{L"TKVSettingsForm", kSettingsClientWidth, kSettingsClientHeight,
                      WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_COMPOSITED, kColorBtnFace}),
      pacing_(pacing) {}

void KVSettingsForm::ShowCentredOver(HWND owner) {
    CentreOver(owner);
    FormShow();
    // Painted once the heading is set (SetHeading), so that a second run never
    // shows the heading of the one before.
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

void KVSettingsForm::FormShow() {
    // The steps after a failing one are skipped.
    Guarded([this] {
        SetDesktopFont(Model(), true, ReadDesktopFont());
        PrepareFormFont(Model());
        ApplyFonts();
        ApplyCaptions(Model());
        SendMessageW(Control(u"MainProgress"), PBM_SETPOS, 0, 0);
    });
}

void KVSettingsForm::SetStepCounters(int stepTotal, int stepCount) {
    progress_.stepTotal = stepTotal;
    progress_.stepCount = stepCount;
}

void KVSettingsForm::SetHeading(std::u16string_view text) {
    Model().SetText(kHeading, text);
    UpdateWindow(Handle());
}

void KVSettingsForm::AdvanceProgressStep(std::u16string_view text) {
    const StepDevices devices{
        PumpMessages,
        [](std::uint32_t ms) { Sleep(ms); },
        [](std::uint32_t lo, std::uint32_t hi) { return DrawPasses(ClockSeed(), lo, hi); },
        [this](std::u16string_view shown) {
            Model().SetText(kStepLabel, shown);
            UpdateWindow(Handle());
        },
        [this](int position) {
            SendMessageW(Control(u"MainProgress"), PBM_SETPOS, static_cast<WPARAM>(position), 0);
        },
    };
    progress_.AdvanceProgressStep(text, devices, pacing_);
}

void KVSettingsForm::CloseForm() {
    ShowWindow(Handle(), SW_HIDE);
}

LRESULT KVSettingsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        CloseForm();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace kavrolt::win
