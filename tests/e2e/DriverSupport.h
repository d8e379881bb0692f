// What the end-to-end driver needs to work the real program: a program folder
// of its own, the process, its windows and controls, its message boxes, the
// registry of the Wine prefix and screenshots.
#pragma once

#include "registry/CustomRegistry.h"
#include "registry/RegistryStoreWin32.h"
#include "tuning/TweakCatalogue.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace kavrolt::e2e {

// The program under test, as given on the command line.
extern std::wstring g_programSource;

std::u16string U16(const std::wstring& text);
std::wstring Wide(std::u16string_view text);

// A folder in the temporary folder that holds a copy of the program.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring Program() const { return path_ + L"Kavrolt.exe"; }
    // Places the stand-in updater, which leaves updater-ran.txt when started.
    void AddUpdaterStandIn() const;
    bool UpdaterRan() const;

private:
    std::wstring path_;
};

// A started process, ended at the latest when this goes out of scope.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool Start(const std::wstring& program, const std::wstring& arguments = L"");
    // Waits for the process to end; its exit code, or -1 on a time-out.
    long WaitForExit(DWORD timeoutMs = 30000);
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
};

// The running program, started from a program folder, with its main window.
class RunningProgram {
public:
    explicit RunningProgram(const ProgramFolder& folder, const std::wstring& arguments = L"");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    HWND Control(std::u16string_view name) const;
    std::wstring Text(std::u16string_view name) const;
    void Click(std::u16string_view name) const;
    // A control clicked with the mouse at its centre, the main window brought
    // to the front.
    void ClickWithMouse(std::u16string_view name) const;
    long Close();
    // Whether the process has loaded a module of that file name, and from where.
    std::wstring ModulePath(const wchar_t* fileName) const;

    Process process;
    HWND main = nullptr;
};

// Takes the place of the web browser while it lives: the addresses that the
// program opens start the stand-in, which notes them in the program folder.
class WebBrowserStandIn {
public:
    explicit WebBrowserStandIn(const ProgramFolder& folder);
    ~WebBrowserStandIn();
    WebBrowserStandIn(const WebBrowserStandIn&) = delete;
    WebBrowserStandIn& operator=(const WebBrowserStandIn&) = delete;
    // What the stand-in was started with; empty when it was not started.
    std::wstring Opened() const;
    void Forget() const;

private:
    std::wstring program_;
    std::wstring mark_;
    std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

// Real input through SendInput, as a user's hands give it: the pointer in
// screen coordinates, the left button, and keys pressed in order and released
// in reverse order (PressKeys({VK_MENU, VK_F1}) is Alt+F1).
void MovePointerTo(POINT screen);
void LeftButton(bool down);
void ClickAt(POINT screen);
POINT CentreOf(HWND window);
POINT ClientToScreenPoint(HWND window, int x, int y);
void PressKeys(std::initializer_list<WORD> keys);
// Makes a window the foreground window, which receives the keys.
bool BringToFront(HWND window);
// The window that has the keyboard focus in the thread of a window.
HWND FocusOf(HWND window);
// Presses Tab until the control has the focus; false if it never gets it.
bool TabTo(HWND window, HWND control, int maxPresses = 12);

// Polls until the condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 30000);

// The first visible top-level window of a class in a process (0: any process).
HWND FindTopWindow(const wchar_t* windowClass, DWORD processId = 0, bool visibleOnly = true);
// A control of a window of the program by its component name.
HWND FindControl(HWND window, int controlId);
int MainControlId(std::u16string_view name);
int AboutControlId(std::u16string_view name);
int SettingsControlId(std::u16string_view name);
std::wstring TextOf(HWND window);

// A message box of the process: its text, and its buttons to press.
struct MessageBox {
    HWND window = nullptr;
    std::wstring text;
    std::wstring title;
    HWND owner = nullptr;
    bool Press(int buttonId) const;
    bool HasButton(int buttonId) const;
    unsigned long IconStyle() const;
};
MessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs = 60000);

// Saves what the screen shows of a window as a BMP in KAVROLT_SCREENSHOTS.
void SaveScreenshot(HWND window, const std::string& name);

// The registry of the prefix, through the program's own helpers.
RegistryStore& Registry();
void ClearProgramState();
std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>>
RawValue(RegRoot root, std::u16string_view path, std::u16string_view name);

// The caption table row, from the table the driver carries.
std::wstring Caption(std::u16string_view window, std::u16string_view key);

} // namespace kavrolt::e2e
