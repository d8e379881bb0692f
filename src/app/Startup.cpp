#include "app/Startup.h"

#include "base/Failure.h"

#include "text/AsciiCase.h"
#include "registry/CustomRegistry.h"

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

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    std::size_t at = 0;
    // The program name: no escapes.
    if (at < line.size() && line[at] == u'"') {
        const std::size_t closing = line.find(u'"', at + 1);
        at = closing == std::u16string_view::npos ? line.size() : closing + 1;
    }
    while (at < line.size() && !blank(line[at]))
        ++at;

    std::vector<std::u16string> parameters;
    for (;;) {
        while (at < line.size() && blank(line[at]))
            ++at;
        if (at >= line.size())
            break;
        std::u16string parameter;
        bool quoted = false;
        while (at < line.size() && (quoted || !blank(line[at]))) {
            if (line[at] == u'\\') {
                std::size_t backslashes = 0;
                while (at < line.size() && line[at] == u'\\') {
                    ++backslashes;
                    ++at;
                }
                if (at < line.size() && line[at] == u'"') {
                    parameter.append(backslashes / 2, u'\\');
                    if (backslashes % 2) {
                        parameter += u'"';
                        ++at;
                    }
                    // An even count leaves the quote to open or close below.
                } else {
                    parameter.append(backslashes, u'\\');
                }
                continue;
            }
            if (line[at] == u'"') {
                if (quoted && at + 1 < line.size() && line[at + 1] == u'"') {
                    parameter += u'"';
                    at += 2;
                    continue;
                }
                quoted = !quoted;
                ++at;
                continue;
            }
            parameter += line[at++];
        }
        parameters.push_back(std::move(parameter));
    }
    return parameters;
}

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
    // A failure shows nothing; the program ends as on every other path.
    Guarded([&] {
        RecordStartDates(host);
        const bool checkMode = IsCheckMode(parameters);
        if (checkMode)
            RunCheckMode(host);
        if (host.ActivateRunningInstance(u"TKVMainForm", true))
            return;
        if (!checkMode)
            host.RunWindows();
    });
    return 0;
}

} // namespace kavrolt
