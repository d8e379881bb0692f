// What the windows' logic needs of the system beside its own window: the
// registry, the caption table, the desktop font, the clock, the detections and
// the shell, sound and restart actions. The program passes the real ones;
// tests record them.
#pragma once

#include "forms/FormModel.h"
#include "registry/RegistryStore.h"
#include "services/TimeStamps.h"

#include <string>
#include <string_view>

namespace kavrolt {

class FormView;

class ProgramServices {
public:
    virtual ~ProgramServices() = default;

    virtual RegistryStore& Registry() = 0;
    virtual void ApplyCaptions(FormModel& form) = 0;
    virtual std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) = 0;
    virtual FontSpec DesktopFont() = 0;
    virtual DateTime Now() = 0;
    virtual int DetectWindowsVersion() = 0;
    virtual int DetectProcessorVendor() = 0;

    virtual std::u16string ProgramFolder() = 0;
    virtual void OpenUrl(std::u16string_view address) = 0;
    virtual void OpenDocument(std::u16string_view file, std::u16string_view parameters) = 0;
    virtual void RunProgram(std::u16string_view file, std::u16string_view parameters) = 0;
    virtual void ShowHelpTopic(std::u16string_view helpFile, std::u16string_view topic) = 0;
    virtual void PlayClickSound() = 0;
    virtual void RestartWindows() = 0;
};

// The preparation every window does first: the desktop font, font
// preparation, the fonts handed to the controls, then the captions.
void PrepareWindow(FormView& view, ProgramServices& services);

} // namespace kavrolt
