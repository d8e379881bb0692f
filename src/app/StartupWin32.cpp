#include "app/StartupWin32.h"

#include "app/Startup.h"
#include "appearance/Captions.h"
#include "forms/MessageLoopWin32.h"
#include "services/Shell.h"
#include "services/TimeStamps.h"
#include "services/UpdateCheck.h"
#include "text/Wide.h"
#include "windows/KVAboutFormWin32.h"
#include "windows/KVMainFormWin32.h"
#include "windows/KVSettingsFormWin32.h"

#include <shellapi.h>
#include <windows.h>

#include <memory>

namespace kavrolt::win {
namespace {

class Win32StartupHost final : public StartupHost {
public:
    RegistryStore& Registry() override { return DefaultRegistryStore(); }
    std::int32_t NowStamp() override { return DateTimeToStamp(CurrentDateTime()); }
    int CheckForUpdate() override { return kavrolt::CheckForUpdate(); }
    void CloseWindowOfClass(std::u16string_view className) override {
        const std::u16string name(className);
        if (HWND window = FindWindowW(Wide(name), nullptr))
            SendMessageW(window, WM_CLOSE, 0, 0);
    }
    int AskWithoutOwner(std::u16string_view text, std::u16string_view caption,
                        unsigned flags) override {
        const std::u16string body(text), title(caption);
        return MessageBoxW(nullptr, Wide(body), Wide(title), flags);
    }
    std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) override {
        return kavrolt::LoadCaption(window, key);
    }
    std::u16string ProgramFolder() override { return kavrolt::ProgramFolder(); }
    void RunProgram(std::u16string_view file, std::u16string_view parameters) override {
        kavrolt::RunProgram(file, parameters);
    }
    bool ActivateRunningInstance(std::u16string_view className, bool activate) override {
        return kavrolt::ActivateRunningInstance(className, activate);
    }
    void RunWindows() override {
        // The main window first: it is the application's main window and owns
        // the taskbar button. The About and progress windows stay hidden.
        KVAboutForm about;
        KVSettingsForm progress;
        KVMainForm main(about, progress);
        if (!main.Create(nullptr))
            return;
        SetApplicationWindow(main.Handle());
        main.FormCreate();
        about.Create(main.Handle());
        progress.Create(main.Handle());
        about.helpRequested = [&main] { main.HelpFilePopupClick(); };
        SetShortCutHandler([&main](const MSG& message, bool& handled) {
            main.ApplicationEventsShortCut(message, handled);
        });
        main.CentreOver(nullptr);
        ShowWindow(main.Handle(), SW_SHOWNORMAL);
        UpdateWindow(main.Handle());
        RunMessageLoop(main.Handle());
        SetShortCutHandler(nullptr);
    }
};

std::vector<std::u16string> CommandLineParameters() {
    const wchar_t* line = GetCommandLineW();
    std::u16string text;
    for (; line && *line; ++line)
        text += static_cast<char16_t>(*line);
    return SplitCommandLine(text);
}

} // namespace

int RunProgramEntry() {
    Win32StartupHost host;
    return RunStartup(host, CommandLineParameters());
}

} // namespace kavrolt::win
