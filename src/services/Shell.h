// Actions that reach outside the program: documents, programs and web
// addresses through the shell, topics of the help file, the restart of
// Windows, and the main window of an instance that already runs.
//
// None of them reports a failure: each call does what it can and carries on.
// The steps are portable and run on small platform tables, so that tests can
// see every argument; the real tables call shell32, hhctrl.ocx, advapi32 and
// user32 (Windows builds only).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kavrolt {

// An HWND, a token HANDLE or an HMODULE, without <windows.h>.
using WindowHandle = void*;
using TokenHandle = void*;
using ModuleHandle = void*;

// What the actions pass to the platform.
inline constexpr std::u16string_view kShellVerb = u"open";
inline constexpr int kShowCommand = 5;    // SW_SHOW
inline constexpr int kRestoreCommand = 9; // SW_RESTORE
inline constexpr std::u16string_view kHelpTopicSeparator = u"::";
inline constexpr std::u16string_view kHelpWindowType = u">HelpWindow";
inline constexpr std::u16string_view kHelpLibrary = u"hhctrl.ocx";
inline constexpr std::u16string_view kShutdownPrivilege = u"SeShutdownPrivilege";
inline constexpr std::uint32_t kTokenAccess = 0x28;      // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
inline constexpr std::uint32_t kPrivilegeEnabled = 0x02; // SE_PRIVILEGE_ENABLED
// EWX_REBOOT | EWX_FORCEIFHUNG: running programs may still ask to save their
// work; only programs that do not answer are ended.
inline constexpr std::uint32_t kRestartFlags = 0x12;
inline constexpr std::uint32_t kRestartReason = 0;

// The folder of a file path, up to and including its last delimiter ("\",
// "/" or the ":" of a drive); empty when there is none.
std::u16string FolderOfPath(std::u16string_view path);

// The address that HTML Help gets for a topic of a help file in a folder:
// folder, file, "::", topic, ">HelpWindow".
std::u16string HelpAddress(std::u16string_view folder, std::u16string_view helpFile,
                           std::u16string_view topic);

// One ShellExecuteW call: owner window, verb, file, parameters (empty: none),
// no starting directory, show command.
struct ShellRequest {
    WindowHandle owner = nullptr;
    std::u16string verb;
    std::u16string file;
    std::u16string parameters;
    int showCommand = 0;
};

struct ShellPlatform {
    std::function<void(const ShellRequest&)> execute;
    // The hidden window that owns the program's windows.
    std::function<WindowHandle()> applicationWindow;
    // The folder of the running program file, with its trailing delimiter.
    std::function<std::u16string()> programFolder;
    // HtmlHelpW(desktop window, address, HH_DISPLAY_TOPIC, 0).
    std::function<void(const std::u16string& address)> displayHelpTopic;
};

void OpenDocument(const ShellPlatform& platform, std::u16string_view file,
                  std::u16string_view parameters);
void RunProgram(const ShellPlatform& platform, std::u16string_view file,
                std::u16string_view parameters);
void OpenUrl(const ShellPlatform& platform, std::u16string_view address);
void ShowHelpTopic(const ShellPlatform& platform, std::u16string_view helpFile,
                   std::u16string_view topic);

// A locally unique identifier, as LookupPrivilegeValueW gives it.
struct PrivilegeId {
    std::uint32_t low = 0;
    std::int32_t high = 0;
};

// The token calls and the restart request.
struct ShutdownPlatform {
    // OpenProcessToken of the current process with the access mask.
    std::function<bool(std::uint32_t access, TokenHandle& token)> openProcessToken;
    // LookupPrivilegeValueW on the local system.
    std::function<bool(std::u16string_view privilege, PrivilegeId& id)> lookupPrivilegeValue;
    // AdjustTokenPrivileges (not disabling all) with a list of one entry, the
    // previous state received into a one-entry buffer and ignored.
    std::function<bool(TokenHandle token, PrivilegeId id, std::uint32_t attributes)>
        adjustTokenPrivileges;
    std::function<void(TokenHandle token)> closeHandle;
    std::function<bool(std::uint32_t flags, std::uint32_t reason)> exitWindows;
};

void SetShutdownPrivilege(const ShutdownPlatform& platform, bool on);
void RestartWindows(const ShutdownPlatform& platform);

struct WindowPlatform {
    // FindWindowW(class name, no title); null when there is none.
    std::function<WindowHandle(std::u16string_view className)> findWindow;
    std::function<void(WindowHandle window, int command)> showWindow;
    std::function<void(WindowHandle window)> setForegroundWindow;
};

// True when a top-level window of the class exists; with activate it is also
// restored and brought to the front.
bool ActivateRunningInstance(const WindowPlatform& platform, std::u16string_view className,
                             bool activate);

// The same on the running system (Windows builds).
void SetApplicationWindow(WindowHandle window);
std::u16string ProgramFolder();
void OpenDocument(std::u16string_view file, std::u16string_view parameters);
void RunProgram(std::u16string_view file, std::u16string_view parameters);
void OpenUrl(std::u16string_view address);
void ShowHelpTopic(std::u16string_view helpFile, std::u16string_view topic);
void SetShutdownPrivilege(bool on);
void RestartWindows();
bool ActivateRunningInstance(std::u16string_view className, bool activate);

const ShellPlatform& SystemShellPlatform();
const ShutdownPlatform& SystemShutdownPlatform();
const WindowPlatform& SystemWindowPlatform();

// Loads a library from the Windows system folder and from nowhere else; null
// when it is not there.
ModuleHandle LoadSystemLibrary(std::u16string_view fileName);

// The address of a function of a system library, looked up on first use
// instead of imported: the library is loaded from the system folder then and
// stays loaded until the process ends, so that a program start that never
// needs it does not pay for loading it. Null when either is missing.
void* SystemFunction(std::u16string_view library, const char* function);

// Takes the current folder out of the search path for libraries. Called first
// thing at start-up, so that no library planted there can stand in for a
// system one.
void HardenDllSearchPath();

} // namespace kavrolt
