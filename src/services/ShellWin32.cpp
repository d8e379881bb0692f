// The shell, HTML Help, token and window calls behind the actions.
#include "services/Shell.h"

#include "base/Failure.h"
#include "base/Handles.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

namespace kavrolt {
namespace {

static_assert(kShowCommand == SW_SHOW && kRestoreCommand == SW_RESTORE);
static_assert(kTokenAccess == (TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY));
static_assert(kPrivilegeEnabled == SE_PRIVILEGE_ENABLED);
static_assert(kRestartFlags == (EWX_REBOOT | EWX_FORCEIFHUNG));

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string Utf16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

// HtmlHelpW and HH_DISPLAY_TOPIC, without the HTML Help headers.
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0;

// The help library stays loaded once it is bound.
struct HelpBinding {
    UniqueLibrary library;
    HtmlHelpFunction entry = nullptr;
};

HelpBinding& Help() {
    static HelpBinding binding;
    return binding;
}

HtmlHelpFunction BoundHtmlHelp() {
    HelpBinding& binding = Help();
    if (binding.entry == nullptr) {
        UniqueLibrary library(static_cast<HMODULE>(LoadSystemLibrary(kHelpLibrary)));
        if (!library)
            return nullptr;
        const FARPROC entry = GetProcAddress(library.get(), "HtmlHelpW");
        if (entry == nullptr)
            return nullptr;
        binding.entry = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(entry));
        binding.library = std::move(library);
    }
    return binding.entry;
}

WindowHandle& StoredApplicationWindow() {
    static WindowHandle window = nullptr;
    return window;
}

void ExecuteShell(const ShellRequest& request) {
    const std::wstring verb = Wide(request.verb);
    const std::wstring file = Wide(request.file);
    const std::wstring parameters = Wide(request.parameters);
    // shell32 is loaded when the first shell action needs it.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto shellExecute =
        reinterpret_cast<ShellExecuteFunction>(SystemFunction(u"shell32.dll", "ShellExecuteW"));
    if (shellExecute == nullptr)
        return;
    shellExecute(static_cast<HWND>(request.owner), verb.c_str(), file.c_str(),
                 parameters.empty() ? nullptr : parameters.c_str(), nullptr, request.showCommand);
}

void DisplayHelpTopic(const std::u16string& address) {
    if (const HtmlHelpFunction htmlHelp = BoundHtmlHelp()) {
        const std::wstring wide = Wide(address);
        htmlHelp(GetDesktopWindow(), wide.c_str(), kDisplayTopic, 0);
    }
}

bool OpenToken(std::uint32_t access, TokenHandle& token) {
    HANDLE handle = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), access, &handle))
        return false;
    token = handle;
    return true;
}

bool LookupPrivilege(std::u16string_view privilege, PrivilegeId& id) {
    const std::wstring name = Wide(privilege);
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, name.c_str(), &luid))
        return false;
    id.low = luid.LowPart;
    id.high = luid.HighPart;
    return true;
}

bool AdjustPrivilege(TokenHandle token, PrivilegeId id, std::uint32_t attributes) {
    TOKEN_PRIVILEGES change{};
    change.PrivilegeCount = 1;
    change.Privileges[0].Luid.LowPart = id.low;
    change.Privileges[0].Luid.HighPart = id.high;
    change.Privileges[0].Attributes = attributes;
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = sizeof previous;
    return AdjustTokenPrivileges(static_cast<HANDLE>(token), FALSE, &change, sizeof previous,
                                 &previous, &previousSize) != FALSE;
}

} // namespace

const ShellPlatform& SystemShellPlatform() {
    static const ShellPlatform platform{
        ExecuteShell,
        [] { return StoredApplicationWindow(); },
        ProgramFolder,
        DisplayHelpTopic,
    };
    return platform;
}

const ShutdownPlatform& SystemShutdownPlatform() {
    static const ShutdownPlatform platform{
        OpenToken,
        LookupPrivilege,
        AdjustPrivilege,
        [](TokenHandle token) { CloseHandle(static_cast<HANDLE>(token)); },
        [](std::uint32_t flags, std::uint32_t reason) {
            return ExitWindowsEx(flags, reason) != FALSE;
        },
    };
    return platform;
}

const WindowPlatform& SystemWindowPlatform() {
    static const WindowPlatform platform{
        [](std::u16string_view className) -> WindowHandle {
            const std::wstring name = Wide(className);
            return FindWindowW(name.c_str(), nullptr);
        },
        [](WindowHandle window, int command) { ShowWindow(static_cast<HWND>(window), command); },
        [](WindowHandle window) { SetForegroundWindow(static_cast<HWND>(window)); },
    };
    return platform;
}

void SetApplicationWindow(WindowHandle window) {
    StoredApplicationWindow() = window;
}

std::u16string ProgramFolder() {
    // Paths may be longer than MAX_PATH; grow the buffer until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return FolderOfPath(Utf16(path));
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

void OpenDocument(std::u16string_view file, std::u16string_view parameters) {
    OpenDocument(SystemShellPlatform(), file, parameters);
}

void RunProgram(std::u16string_view file, std::u16string_view parameters) {
    RunProgram(SystemShellPlatform(), file, parameters);
}

void OpenUrl(std::u16string_view address) {
    OpenUrl(SystemShellPlatform(), address);
}

void ShowHelpTopic(std::u16string_view helpFile, std::u16string_view topic) {
    ShowHelpTopic(SystemShellPlatform(), helpFile, topic);
}

void SetShutdownPrivilege(bool on) {
    SetShutdownPrivilege(SystemShutdownPlatform(), on);
}

void RestartWindows() {
    RestartWindows(SystemShutdownPlatform());
}

bool ActivateRunningInstance(std::u16string_view className, bool activate) {
    return ActivateRunningInstance(SystemWindowPlatform(), className, activate);
}

ModuleHandle LoadSystemLibrary(std::u16string_view fileName) {
    return Guarded(ModuleHandle{nullptr}, [&]() -> ModuleHandle {
        // A bare file name only: a path would leave the system folder.
        if (fileName.empty() || fileName.find_first_of(u"\\/:") != std::u16string_view::npos)
            return nullptr;
        const std::wstring name = Wide(fileName);
        // Systems that know LOAD_LIBRARY_SEARCH_SYSTEM32 also export AddDllDirectory.
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr)
            return LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        // Elsewhere, the full path in the system folder.
        std::wstring folder(MAX_PATH, L'\0');
        const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0 || length >= folder.size())
            return nullptr;
        folder.resize(length);
        if (folder.back() != L'\\')
            folder += L'\\';
        return LoadLibraryExW((folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    });
}

void* SystemFunction(std::u16string_view library, const char* function) {
    // Never freed: the caller keeps the address for the rest of the process.
    const HMODULE module = static_cast<HMODULE>(LoadSystemLibrary(library));
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module, function));
}

void HardenDllSearchPath() {
    // Looked up at run time: Windows 2000 has no SetDllDirectoryW, and a static
    // import would keep the program from starting there.
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr)
        return;
    const FARPROC entry = GetProcAddress(kernel, "SetDllDirectoryW");
    if (entry != nullptr)
        reinterpret_cast<SetDllDirectoryFunction>(reinterpret_cast<void*>(entry))(L"");
}

} // namespace kavrolt
