// What the Optimize and Restore runs need of the windows and the system. The
// main window implements it; tests implement it with a recording host.
#pragma once

#include "registry/RegistryStore.h"

#include <string>
#include <string_view>

namespace kavrolt {

// Message box flags and answers, as MessageBoxW has them.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;

class RunHost {
public:
    virtual ~RunHost() = default;

    // The three choices of the main window.
    virtual int WindowsListIndex() = 0;
    virtual int ProcessorListIndex() = 0;
    virtual int SpeedPosition() = 0;

    virtual void EnableMainWindow(bool enabled) = 0;
    virtual void EnableRestoreButton(bool enabled) = 0;

    // The progress window: shown centred over the main window (its FormShow
    // runs then), its counters, its heading, one paced step, and closing it.
    virtual void ShowProgress() = 0;
    virtual void SetStepCounters(int stepTotal, int stepCount) = 0;
    virtual void SetProgressHeading(std::u16string_view text) = 0;
    virtual void AdvanceProgressStep(std::u16string_view text) = 0;
    virtual void CloseProgress() = 0;

    // A message box owned by the main window and titled with its caption.
    virtual int ShowMessage(std::u16string_view text, unsigned flags) = 0;
    virtual std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) = 0;

    virtual void PlayClickSound() = 0;
    virtual void RestartWindows() = 0;
    virtual RegistryStore& Registry() = 0;
};

// The main window's "&Optimize now" and "&Restore" buttons.
void GoButtonClick(RunHost& host);
void RestoreButtonClick(RunHost& host);

} // namespace kavrolt
