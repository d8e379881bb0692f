// The program entry.
#include "services/Shell.h"
#include "app/StartupWin32.h"
#include "appearance/NativeHandCursor.h"
#include "appearance/NativeHintWindowWin32.h"
#include "forms/HintApplicationWin32.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // No DLL from the current folder may stand in for a system one.
    kavrolt::HardenDllSearchPath();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The program's modules, before any window exists: the hand cursor of
    // links and the native tooltips as the application's hint window class.
    kavrolt::win::ProgramHints hints;
    kavrolt::InitNativeHandCursor();
    kavrolt::win::InitNativeHintWindow(hints.Application());
    kavrolt::win::RunProgramEntry();
    return 0;
}
