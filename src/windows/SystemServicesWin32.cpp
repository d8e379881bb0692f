#include "windows/SystemServicesWin32.h"

#include "appearance/Captions.h"
#include "appearance/SystemFont.h"
#include "services/Shell.h"
#include "services/Sound.h"
#include "sysinfo/WindowsVersion.h"

namespace kavrolt::win {
namespace {

class RealServices final : public ProgramServices {
public:
    RegistryStore& Registry() override { return DefaultRegistryStore(); }
    void ApplyCaptions(FormModel& form) override { kavrolt::ApplyCaptions(form); }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        return kavrolt::LoadCaption(window, key);
    }
    FontSpec DesktopFont() override { return ReadDesktopFont(); }
    DateTime Now() override { return CurrentDateTime(); }
    int DetectWindowsVersion() override { return kavrolt::DetectWindowsVersion(); }
    int DetectProcessorVendor() override { return kavrolt::DetectProcessorVendor(); }

    std::u16string ProgramFolder() override { return kavrolt::ProgramFolder(); }
    void OpenUrl(std::u16string_view address) override { kavrolt::OpenUrl(address); }
    void OpenDocument(std::u16string_view file, std::u16string_view parameters) override {
        kavrolt::OpenDocument(file, parameters);
    }
    void RunProgram(std::u16string_view file, std::u16string_view parameters) override {
        kavrolt::RunProgram(file, parameters);
    }
    void ShowHelpTopic(std::u16string_view helpFile, std::u16string_view topic) override {
        kavrolt::ShowHelpTopic(helpFile, topic);
    }
    void PlayClickSound() override { kavrolt::PlayClickSound(); }
    void RestartWindows() override { kavrolt::RestartWindows(); }
};

} // namespace

ProgramServices& SystemServices() {
    static RealServices services;
    return services;
}

} // namespace kavrolt::win
