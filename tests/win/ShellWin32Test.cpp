// The shell, help, restart and instance actions on the real system. The
// restart request itself is never made: under Wine it would ask the programs
// of the prefix to end.
#include "services/Shell.h"
#include "services/Sound.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace kavrolt {
namespace {

std::u16string Utf16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}
std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    std::wstring text(folder);
    if (text.back() != L'\\')
        text += L'\\';
    return text;
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

bool SameFolderIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

TEST(ShellUnderWine, ProgramFolderEndsWithTheSeparator) {
    const std::wstring path = ModulePath(nullptr);
    const std::u16string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), u'\\');
    EXPECT_EQ(Utf16(path).substr(0, folder.size()), folder);
    EXPECT_EQ(Utf16(path).substr(folder.size()), u"kavrolt_win_tests.exe");
}

TEST(ShellUnderWine, HelpAddressBeginsWithTheProgramFolder) {
    ShellPlatform platform = SystemShellPlatform();
    std::vector<std::u16string> addresses;
    platform.displayHelpTopic = [&](const std::u16string& address) {
        addresses.push_back(address);
    };
    ShowHelpTopic(platform, u"Kavrolt.chm", u"/html/main.htm");
    ASSERT_EQ(addresses.size(), 1u);
    EXPECT_EQ(addresses[0], ProgramFolder() + u"Kavrolt.chm::/html/main.htm>HelpWindow");
}

TEST(ShellUnderWine, ProgramsStartWithTheirParameters) {
    const std::wstring marker = TempFolder() + L"kavrolt-run-program.txt";
    DeleteFileW(marker.c_str());
    RunProgram(Utf16(SystemFolder() + L"cmd.exe"), Utf16(L"/c echo started> \"" + marker + L"\""));
    // cmd creates the file before it writes the line; wait for the line.
    std::string line;
    for (int i = 0; i < 300 && line.rfind("started", 0) != 0; ++i) {
        Sleep(100);
        std::ifstream file{std::filesystem::path(marker)};
        std::getline(file, line);
    }
    EXPECT_EQ(line.substr(0, 7), "started") << "the program did not run with its parameters";
    DeleteFileW(marker.c_str());
    // A program that does not exist: nothing happens and nothing is reported.
    EXPECT_NO_THROW(RunProgram(u"C:\\no such folder\\KavroltUpdate.exe", u""));
}

bool PrivilegeEnabled(const wchar_t* name) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    LUID luid{};
    LookupPrivilegeValueW(nullptr, name, &luid);
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        const auto* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < list->PrivilegeCount; ++i)
            if (list->Privileges[i].Luid.LowPart == luid.LowPart &&
                list->Privileges[i].Luid.HighPart == luid.HighPart)
                enabled = (list->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    CloseHandle(token);
    return enabled;
}

TEST(ShellUnderWine, RestartHoldsTheShutdownPrivilegeOnlyForTheRequest) {
    SetShutdownPrivilege(false);
    ASSERT_FALSE(PrivilegeEnabled(SE_SHUTDOWN_NAME));
    ShutdownPlatform platform = SystemShutdownPlatform();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> requests;
    bool heldDuringRequest = false;
    platform.exitWindows = [&](std::uint32_t flags, std::uint32_t reason) {
        requests.emplace_back(flags, reason);
        heldDuringRequest = PrivilegeEnabled(SE_SHUTDOWN_NAME);
        return false;
    };
    RestartWindows(platform);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, static_cast<std::uint32_t>(EWX_REBOOT | EWX_FORCEIFHUNG));
    EXPECT_EQ(requests[0].first & EWX_FORCE, 0u);
    EXPECT_EQ(requests[0].second, 0u);
    EXPECT_TRUE(heldDuringRequest);
    EXPECT_FALSE(PrivilegeEnabled(SE_SHUTDOWN_NAME));
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

TEST(ShellUnderWine, ActivateRunningInstanceRestoresAMinimisedWindow) {
    constexpr wchar_t kClass[] = L"KavroltActivateTestWindow";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    ASSERT_TRUE(RegisterClassExW(&windowClass));
    EXPECT_FALSE(ActivateRunningInstance(u"KavroltActivateTestWindow", true));

    Window window(CreateWindowExW(0, kClass, L"First instance", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                  200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    ShowWindow(window.get(), SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(window.get()));

    // Only asking changes nothing.
    EXPECT_TRUE(ActivateRunningInstance(u"KavroltActivateTestWindow", false));
    EXPECT_TRUE(IsIconic(window.get()));

    // Start-up ends the program on this result; here the test goes on.
    EXPECT_TRUE(ActivateRunningInstance(u"KavroltActivateTestWindow", true));
    EXPECT_FALSE(IsIconic(window.get()));
    EXPECT_TRUE(IsWindowVisible(window.get()));
    EXPECT_EQ(GetForegroundWindow(), window.get());

    window.reset();
    EXPECT_FALSE(ActivateRunningInstance(u"KavroltActivateTestWindow", true));
    UnregisterClassW(kClass, GetModuleHandleW(nullptr));
}

// A file that is no library: the loader fails on it with ERROR_BAD_EXE_FORMAT
// when it finds it, and with ERROR_MOD_NOT_FOUND when it does not look there.
class PlantedFile {
public:
    explicit PlantedFile(std::wstring path) : path_(std::move(path)) {
        std::ofstream(std::filesystem::path(path_), std::ios::binary) << "not a library";
    }
    ~PlantedFile() { DeleteFileW(path_.c_str()); }

private:
    std::wstring path_;
};

// Works in another current folder and in the default library search path, and
// restores both at the end.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder) {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolder() {
        SetDllDirectoryW(nullptr);
        SetCurrentDirectoryW(previous_);
    }

private:
    wchar_t previous_[MAX_PATH] = {};
};

DWORD LoadError(const std::function<HMODULE()>& load) {
    SetLastError(0);
    HMODULE module = load();
    const DWORD error = GetLastError();
    if (module != nullptr) {
        FreeLibrary(module);
        return 0;
    }
    return error;
}

TEST(ShellUnderWine, LibrariesComeOnlyFromTheSystemFolder) {
    const CurrentFolder current(TempFolder());
    const PlantedFile inCurrent(TempFolder() + L"kvplanted.dll");
    const PlantedFile helpInCurrent(TempFolder() + L"hhctrl.ocx");
    const std::wstring programFolder = Wide(ProgramFolder());
    const PlantedFile besideProgram(programFolder + L"kvbeside.dll");

    // With the default search path the planted files are found.
    SetDllDirectoryW(nullptr);
    EXPECT_EQ(LoadError([] { return LoadLibraryW(L"kvplanted.dll"); }), ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(LoadError([] { return LoadLibraryW(L"kvbeside.dll"); }), ERROR_BAD_EXE_FORMAT);

    // The system folder only, whatever lies in the current or program folder.
    EXPECT_EQ(LoadError([] { return static_cast<HMODULE>(LoadSystemLibrary(u"kvplanted.dll")); }),
              static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadError([] { return static_cast<HMODULE>(LoadSystemLibrary(u"kvbeside.dll")); }),
              static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadSystemLibrary(u"..\\kvplanted.dll"), nullptr);
    HMODULE help = static_cast<HMODULE>(LoadSystemLibrary(u"hhctrl.ocx"));
    ASSERT_NE(help, nullptr);
    const std::wstring helpPath = ModulePath(help);
    EXPECT_TRUE(SameFolderIgnoringCase(helpPath.substr(0, helpPath.find_last_of(L'\\') + 1),
                                       SystemFolder()))
        << std::string(helpPath.begin(), helpPath.end());
    EXPECT_NE(GetProcAddress(help, "HtmlHelpW"), nullptr);
    FreeLibrary(help);
}

TEST(ShellUnderWine, StartUpSetsAnEmptyLibraryFolder) {
    // Windows takes the current folder out of the search when the library
    // folder is the empty text. Wine treats an empty text as none and keeps
    // searching there, so only the setting itself can be checked here.
    ASSERT_TRUE(SetDllDirectoryW(SystemFolder().c_str()));
    wchar_t folder[MAX_PATH] = {L'x'};
    ASSERT_GT(GetDllDirectoryW(MAX_PATH, folder), 0u);
    HardenDllSearchPath();
    EXPECT_EQ(GetDllDirectoryW(MAX_PATH, folder), 0u);
    EXPECT_EQ(folder[0], L'\0');
    SetDllDirectoryW(nullptr);
}

TEST(ShellUnderWine, ClickSoundIsTheProgramsOwnResourcePlayedSynchronously) {
    std::vector<std::tuple<std::u16string, void*, std::uint32_t>> calls;
    PlayClickSound([&](std::u16string_view name, void* module, std::uint32_t flags) {
        calls.emplace_back(std::u16string(name), module, flags);
    });
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(std::get<0>(calls[0]), u"click");
    EXPECT_EQ(std::get<1>(calls[0]), GetModuleHandleW(nullptr));
    EXPECT_EQ(std::get<2>(calls[0]), static_cast<std::uint32_t>(SND_RESOURCE));
    EXPECT_EQ(std::get<2>(calls[0]) & (SND_ASYNC | SND_NODEFAULT), 0u);
}

} // namespace
} // namespace kavrolt
