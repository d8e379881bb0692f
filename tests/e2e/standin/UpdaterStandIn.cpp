// Stands in for a program that Kavrolt starts (the separate updater, the web
// browser): it leaves a mark beside itself, named after its own file name
// ("KavroltUpdate-ran.txt"), so that the driver sees that it ran, and the
// parameters it was given.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR parameters, int) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring mark(path);
    const std::size_t dot = mark.find_last_of(L'.');
    mark = (dot == std::wstring::npos ? mark : mark.substr(0, dot)) + L"-ran.txt";
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, parameters, static_cast<DWORD>(wcslen(parameters) * sizeof(wchar_t)),
                  &written, nullptr);
        CloseHandle(file);
    }
    return 0;
}
