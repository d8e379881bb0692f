#include "e2e/DriverSupport.h"

#include "appearance/Captions.h"
#include "common/Screenshot.h"
#include "forms/KVAboutFormLayout.h"
#include "forms/KVMainFormLayout.h"
#include "forms/KVSettingsFormLayout.h"

#include <psapi.h>

#include <cstdio>

namespace kavrolt::e2e {

std::wstring g_programSource;

std::u16string U16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}
std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

ProgramFolder::ProgramFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::wstring(temp) + L"kavrolt-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
    if (!CopyFileW(g_programSource.c_str(), Program().c_str(), FALSE))
        ADD_FAILURE() << "cannot copy the program into its folder";
}

ProgramFolder::~ProgramFolder() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileW((path_ + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

void ProgramFolder::AddUpdaterStandIn() const {
    wchar_t driver[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, driver, MAX_PATH);
    std::wstring standIn(driver);
    standIn = standIn.substr(0, standIn.find_last_of(L'\\') + 1) + L"KavroltUpdate.exe";
    if (!CopyFileW(standIn.c_str(), (path_ + L"KavroltUpdate.exe").c_str(), FALSE))
        ADD_FAILURE() << "cannot place the stand-in updater";
}

bool ProgramFolder::UpdaterRan() const {
    return GetFileAttributesW((path_ + L"KavroltUpdate-ran.txt").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

namespace {

std::wstring StandInPath() {
    wchar_t driver[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, driver, MAX_PATH);
    const std::wstring path(driver);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"KavroltUpdate.exe";
}

std::wstring ReadDefaultValue(HKEY key) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
        return L"";
    return text;
}

} // namespace

WebBrowserStandIn::WebBrowserStandIn(const ProgramFolder& folder)
    : program_(folder.Path() + L"WebBrowser.exe"), mark_(folder.Path() + L"WebBrowser-ran.txt") {
    if (!CopyFileW(StandInPath().c_str(), program_.c_str(), FALSE))
        ADD_FAILURE() << "cannot place the stand-in web browser";
    for (const wchar_t* scheme : {L"http", L"https"}) {
        const std::wstring path = std::wstring(scheme) + L"\\shell\\open\\command";
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open the web address handler";
            continue;
        }
        saved_.emplace_back(path, ReadDefaultValue(key));
        const std::wstring command = L"\"" + program_ + L"\" \"%1\"";
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

WebBrowserStandIn::~WebBrowserStandIn() {
    for (const auto& [path, command] : saved_) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            continue;
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

std::wstring WebBrowserStandIn::Opened() const {
    HANDLE file = CreateFileW(mark_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"";
    wchar_t text[1024] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr);
    CloseHandle(file);
    return read ? std::wstring(text) : std::wstring(L"(opened)");
}

void WebBrowserStandIn::Forget() const {
    DeleteFileW(mark_.c_str());
}

// Real input goes to whatever the pointer is over and whichever window has
// the keyboard focus, through the system's input queue.
namespace {

void Send(INPUT input) {
    SendInput(1, &input, sizeof input);
}

} // namespace

void MovePointerTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(input);
    Sleep(100);
}

void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    Send(input);
    Sleep(150);
}

void ClickAt(POINT screen) {
    MovePointerTo(screen);
    LeftButton(true);
    LeftButton(false);
}

POINT CentreOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void PressKeys(std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        Send(input);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        Send(input);
    }
    Sleep(250);
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 5000);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool TabTo(HWND window, HWND control, int maxPresses) {
    for (int i = 0; i <= maxPresses; ++i) {
        const HWND focus = FocusOf(window);
        // A combo box takes the focus through the edit or list inside it.
        if (focus && (focus == control || IsChild(control, focus)))
            return true;
        PressKeys({VK_TAB});
    }
    return false;
}

RunningProgram::RunningProgram(const ProgramFolder& folder, const std::wstring& arguments) {
    EXPECT_TRUE(process.Start(folder.Program(), arguments));
    WaitUntil([&] { return (main = FindTopWindow(L"TKVMainForm", process.Id())) != nullptr; });
    EXPECT_NE(main, nullptr) << "the main window did not appear";
    if (main)
        WaitForInputIdle(process.Handle(), 10000);
}

RunningProgram::~RunningProgram() {
    if (main && IsWindow(main))
        PostMessageW(main, WM_CLOSE, 0, 0);
    process.WaitForExit(15000);
}

HWND RunningProgram::Control(std::u16string_view name) const {
    return FindControl(main, MainControlId(name));
}
std::wstring RunningProgram::Text(std::u16string_view name) const {
    return TextOf(Control(name));
}
void RunningProgram::Click(std::u16string_view name) const {
    PostMessageW(Control(name), BM_CLICK, 0, 0);
}
void RunningProgram::ClickWithMouse(std::u16string_view name) const {
    BringToFront(main);
    ClickAt(CentreOf(Control(name)));
}
long RunningProgram::Close() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    main = nullptr;
    return process.WaitForExit(15000);
}

std::wstring RunningProgram::ModulePath(const wchar_t* fileName) const {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process.Handle(), modules, sizeof modules, &needed))
        return L"";
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameExW(process.Handle(), modules[i], path, MAX_PATH);
        const wchar_t* name = wcsrchr(path, L'\\');
        if (_wcsicmp(name ? name + 1 : path, fileName) == 0)
            return path;
    }
    return L"";
}

Process::~Process() {
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info_) != FALSE;
}

long Process::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

namespace {

struct WindowSearch {
    const wchar_t* windowClass;
    DWORD processId;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (wcscmp(name, search->windowClass) == 0 &&
        (search->processId == 0 || process == search->processId) &&
        (!search->visibleOnly || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ControlSearch*>(parameter);
    if (GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int IdIn(const FormModel& model, std::u16string_view name) {
    const int index = model.IndexOf(name);
    EXPECT_GE(index, 0) << "no component " << std::string(name.begin(), name.end());
    return 100 + index;
}

} // namespace

HWND FindTopWindow(const wchar_t* windowClass, DWORD processId, bool visibleOnly) {
    WindowSearch search{windowClass, processId, visibleOnly};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindControl(HWND window, int controlId) {
    ControlSearch search{controlId};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int MainControlId(std::u16string_view name) {
    static const FormModel model = MakeMainFormModel();
    return IdIn(model, name);
}
int AboutControlId(std::u16string_view name) {
    static const FormModel model = MakeAboutFormModel();
    return IdIn(model, name);
}
int SettingsControlId(std::u16string_view name) {
    static const FormModel model = MakeSettingsFormModel();
    return IdIn(model, name);
}

std::wstring TextOf(HWND window) {
    wchar_t text[2048] = {};
    SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    return text;
}

bool MessageBox::Press(int buttonId) const {
    HWND button = GetDlgItem(window, buttonId);
    if (!button)
        return false;
    PostMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool MessageBox::HasButton(int buttonId) const {
    return GetDlgItem(window, buttonId) != nullptr;
}

unsigned long MessageBox::IconStyle() const {
    // The icon is a static control with ID 20 in the message box template.
    return GetDlgItem(window, 20) ? 1 : 0;
}

MessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBox box;
    WaitUntil([&] { return (box.window = FindTopWindow(L"#32770", processId)) != nullptr; },
              timeoutMs);
    if (box.window) {
        box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
        box.title = TextOf(box.window);
        box.owner = GetWindow(box.window, GW_OWNER);
    }
    return box;
}

void SaveScreenshot(HWND window, const std::string& name) {
    // The program paints in its own process: give it time to finish.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    test::SaveWindowScreenshot(window, name);
}

RegistryStore& Registry() {
    static Win32RegistryStore store;
    return store;
}

void ClearProgramState() {
    for (auto name : {u"Restore", u"ProcessorType", u"SpeedSetting", u"InstalledDate", u"Updated",
                      u"UpdatedDate", u"Language"})
        DeleteRegValue(Registry(), kHkeyLocalMachine, kProgramKey, name, false);
    for (const auto& row : kTweakCatalogue) {
        DeleteRegValue(Registry(), row.root, row.path, row.name, false);
        DeleteRegValue(Registry(), kHkeyLocalMachine, kProgramKey, row.name, false);
    }
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>>
RawValue(RegRoot root, std::u16string_view path, std::u16string_view name) {
    HKEY key = nullptr;
    const std::wstring subKey = Wide(path.substr(1));
    if (RegOpenKeyExW(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))),
                      subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    const std::wstring valueName = Wide(name);
    std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> result;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<std::uint8_t> data(size);
        if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            result = std::make_pair(static_cast<std::uint32_t>(type), data);
        }
    }
    RegCloseKey(key);
    return result;
}

std::wstring Caption(std::u16string_view window, std::u16string_view key) {
    return Wide(LoadCaption(window, key));
}

} // namespace kavrolt::e2e
