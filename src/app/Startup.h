// The program's start-up: the first-start and update dates, the one switch
// "/checkupdate", the single-instance rule and the creation of the windows.
#pragma once

#include "registry/RegistryStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrolt {

// What start-up needs of the system and the windows.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual RegistryStore& Registry() = 0;
    // DateTimeToStamp(CurrentDateTime()), the clock read afresh at each call.
    virtual std::int32_t NowStamp() = 0;
    virtual int CheckForUpdate() = 0;
    // Sends WM_CLOSE to the first top-level window of the class and waits.
    virtual void CloseWindowOfClass(std::u16string_view className) = 0;
    // A message box without an owner; returns the answer.
    virtual int AskWithoutOwner(std::u16string_view text, std::u16string_view caption,
                                unsigned flags) = 0;
    virtual std::u16string LoadCaption(std::u16string_view window, std::u16string_view key) = 0;
    virtual std::u16string ProgramFolder() = 0;
    virtual void RunProgram(std::u16string_view file, std::u16string_view parameters) = 0;
    virtual bool ActivateRunningInstance(std::u16string_view className, bool activate) = 0;
    // Creates the main, About and progress windows and runs the message loop.
    virtual void RunWindows() = 0;
};

// Whether the first parameter after the program path selects check mode.
bool IsCheckMode(const std::vector<std::u16string>& parameters);

// The parameters of a Windows command line, the program name left out, split
// by the rules that CommandLineToArgvW documents: blanks (spaces, tabs)
// separate parameters outside double quotes; 2n backslashes before a double
// quote give n backslashes and the quote opens or closes a quoted part; 2n + 1
// backslashes before a double quote give n backslashes and a literal quote;
// backslashes elsewhere are literal; inside a quoted part two double quotes
// give one literal quote. The program name, the first item, ends at the next
// blank, or, when it starts with a double quote, at the next double quote.
// The program splits its own command line so that shell32 need not be loaded
// at start-up.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// Records InstalledDate on the first start and UpdatedDate after an update.
void RecordStartDates(StartupHost& host);

// The whole of start-up; parameters are those after the program path.
// Returns the exit code, 0 on every path.
int RunStartup(StartupHost& host, const std::vector<std::u16string>& parameters);

} // namespace kavrolt
