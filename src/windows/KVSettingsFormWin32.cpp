#include "windows/KVSettingsFormWin32.h"

#include "forms/KVSettingsFormLayout.h"
#include "forms/MessageLoopWin32.h"

namespace kavrolt::win {
namespace {

std::uint64_t ClockSeed() {
    LARGE_INTEGER counter{};
    if (QueryPerformanceCounter(&counter))
        return static_cast<std::uint64_t>(counter.QuadPart);
    return GetTickCount();
}

// The pump, the sleep and the random draw of a step.
StepDevices StepClock() {
    StepDevices devices;
    devices.pump = PumpMessages;
    devices.sleep = [](std::uint32_t ms) { Sleep(ms); };
    devices.draw = [](std::uint32_t lo, std::uint32_t hi) {
        return DrawPasses(ClockSeed(), lo, hi);
    };
    return devices;
}

} // namespace

KVSettingsForm::KVSettingsForm(const StepPacing& pacing, ProgramServices& services)
    : ViewForm(MakeSettingsFormModel(),
               WindowSpec{L"TKVSettingsForm", kSettingsClientWidth, kSettingsClientHeight,
                          WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_COMPOSITED,
                          kColorBtnFace}),
      presenter_(*this, services, StepClock(), pacing) {}

LRESULT KVSettingsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        presenter_.Close();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace kavrolt::win
