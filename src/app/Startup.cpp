#include "app/Startup.h"

#include "text/AsciiCase.h"
#include "tuning/CustomRegistry.h"

namespace kavrolt {
namespace {

constexpr auto HKLM = kHkeyLocalMachine;
constexpr unsigned kMbYesNoInformation = 0x44;
constexpr int kIdYes = 6;

std::u16string DecimalText(std::int32_t number) {
    const std::string text = std::to_string(number);
    return std::u16string(text.begin(), text.end());
}

void RunCheckMode(StartupHost& host) {
    if (host.CheckForUpdate() != 1)
        return;
    for (auto windowClass : {u"TKVAboutForm", u"TKVSettingsForm", u"TKVMainForm"})
        host.CloseWindowOfClass(windowClass);
    const std::u16string text = host.LoadCaption(u"KVUpdateForm", u"MessageBoxUpdate1") +
                                u"\r\n\r\n" +
                                host.LoadCaption(u"KVUpdateForm", u"MessageBoxUpdate2");
    const std::u16string caption = host.LoadCaption(u"KVMainForm", u"KVMainForm");
    if (host.AskWithoutOwner(text, caption, kMbYesNoInformation) == kIdYes)
        host.RunProgram(host.ProgramFolder() + u"KavroltUpdate.exe", u"");
}

} // namespace

bool IsCheckMode(const std::vector<std::u16string>& parameters) {
    if (parameters.empty())
        return false;
    return FoldAscii(parameters.front()) == u"/checkupdate";
}

void RecordStartDates(StartupHost& host) {
    auto& store = host.Registry();
    if (ReadRegString(store, HKLM, kProgramKey, u"InstalledDate", u"", false).empty())
        WriteRegString(store, HKLM, kProgramKey, u"InstalledDate", DecimalText(host.NowStamp()),
                       false);
    if (ReadRegBool(store, HKLM, kProgramKey, u"Updated", false, false)) {
        WriteRegBool(store, HKLM, kProgramKey, u"Updated", false, false);
        WriteRegString(store, HKLM, kProgramKey, u"UpdatedDate", DecimalText(host.NowStamp()),
                       false);
    }
}

int RunStartup(StartupHost& host, const std::vector<std::u16string>& parameters) {
    try {
        RecordStartDates(host);
        const bool checkMode = IsCheckMode(parameters);
        if (checkMode)
            RunCheckMode(host);
        if (host.ActivateRunningInstance(u"TKVMainForm", true))
            return 0;
        if (!checkMode)
            host.RunWindows();
    } catch (...) {
        // Nothing is shown; the program ends as on every other path.
    }
    return 0;
}

} // namespace kavrolt
