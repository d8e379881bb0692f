// The DPI of a form's window and the changes of the system settings that it
// follows: a move to a monitor of another DPI and a new desktop font.
#include "windows/FormWin32.h"

#include "appearance/SystemFont.h"
#include "appearance/SystemFontWin32.h"
#include "forms/HintApplicationWin32.h"
#include "windows/FormPartsWin32.h"

#include <optional>

namespace kavrolt::win {

// GetDpiForWindow exists from Windows 10 on; older systems have one DPI for
// the whole screen.
int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    return ScreenPixelsPerInch();
}

RECT FrameFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{0, 0, clientWidth, clientHeight};
    if (adjustForDpi)
        adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

// The window is created at the screen's DPI and may have come up on a monitor
// of another.
void Form::FollowActualDpi() {
    const int actual = WindowDpi(window_);
    if (actual == dpi_)
        return;
    dpi_ = actual;
    const RECT scaled = FrameFor(Scale(spec_.clientWidth), Scale(spec_.clientHeight), spec_.style,
                                 spec_.exStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, scaled.right - scaled.left, scaled.bottom - scaled.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// WM_DPICHANGED: the new DPI and the window's suggested place at it.
void Form::DpiChanged(WPARAM wParam, LPARAM lParam) {
    dpi_ = HIWORD(wParam);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

// WM_SETTINGCHANGE: a new desktop font gives the form new fonts.
void Form::SettingChanged(WPARAM wParam, LPARAM lParam) {
    const auto* section = reinterpret_cast<const char16_t*>(lParam);
    const std::optional<std::u16string_view> name =
        section ? std::optional<std::u16string_view>(section) : std::nullopt;
    if (!SettingChangeRereadsDesktopFont(name, static_cast<unsigned>(wParam)))
        return;
    DesktopFontChanged(model_, ReadDesktopFont());
    ApplyFonts();
    // The application reads the system metrics anew once, through the window
    // that has no owner: the hint timings come back with a new hint window.
    if (!GetWindow(window_, GW_OWNER))
        if (HintApplication* hints = ApplicationHints())
            hints->RecreateHintWindow();
}

} // namespace kavrolt::win
