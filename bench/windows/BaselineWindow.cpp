// The smallest window program: one window class, one shown window, a message
// loop. Its start-up time and memory are the floor for the program's.
// Built a second time with KAVROLT_BENCH_COMCTL, as BaselineComctlWindow: the
// same window with the program's manifest (common controls version 6) and
// InitCommonControlsEx, the floor for a program with those controls.
#include <windows.h>

#ifdef KAVROLT_BENCH_COMCTL
#include <commctrl.h>
#endif

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
#ifdef KAVROLT_BENCH_COMCTL
    // The classes that the program asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&controls))
        return 1;
#endif
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"TKVBenchBaseline";
    if (!RegisterClassExW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Baseline", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
