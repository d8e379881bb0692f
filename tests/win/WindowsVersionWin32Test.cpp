// Detection of the release that Wine emulates. Wine takes the emulated release
// of a program from HKCU\Software\Wine\AppDefaults\<program>\Version when it
// starts, so each case starts the probe program afresh.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

void SetEmulatedRelease(const wchar_t* version) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                              L"Software\\Wine\\AppDefaults\\kv_detect_version.exe", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

int RunProbe() {
    std::wstring command = L"\"" + ProgramFolder() + L"kv_detect_version.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -100;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code) - 1;
}

TEST(WindowsVersionUnderWine, DetectsTheEmulatedRelease) {
    // win7 and win2008r2 are left out: Wine reports their product types swapped.
    const std::pair<const wchar_t*, int> cases[] = {
        {L"win10", 8},   {L"win81", 6}, {L"win8", 6},    {L"win2003", 2},
        {L"winxp64", 1}, {L"vista", 3}, {L"win2008", 4}, {L"winxp", 1},
    };
    for (const auto& [release, expected] : cases) {
        SetEmulatedRelease(release);
        EXPECT_EQ(RunProbe(), expected) << std::string(release, release + wcslen(release));
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\kv_detect_version.exe");
}

} // namespace
