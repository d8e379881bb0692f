#include "forms/HintApplicationWin32.h"

#include "base/Failure.h"
#include "base/Handles.h"

namespace kavrolt::win {
namespace {

HintApplication*& Current() {
    static HintApplication* current = nullptr;
    return current;
}

void CALLBACK HintTimerElapsed(HWND, UINT, UINT_PTR, DWORD) {
    Guarded([] {
        if (HintApplication* hints = Current())
            hints->TimerElapsed();
    });
}

} // namespace

Win32HintHost::~Win32HintHost() {
    StopTimer();
}

void Win32HintHost::StartTimer(int milliseconds) {
    StopTimer();
    timer_ = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds > 0 ? milliseconds : 1),
                      HintTimerElapsed);
}

void Win32HintHost::StopTimer() {
    if (timer_)
        KillTimer(nullptr, timer_);
    timer_ = 0;
}

HintPoint Win32HintHost::CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

// The part of the current cursor's picture below its hot spot; a monochrome
// cursor's mask holds the AND and the XOR picture one above the other.
int Win32HintHost::CursorHeight() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    ICONINFO icon{};
    if (!GetCursorInfo(&cursor) || !cursor.hCursor || !GetIconInfo(cursor.hCursor, &icon))
        return GetSystemMetrics(SM_CYCURSOR);
    const UniqueBitmap mask(icon.hbmMask);
    const UniqueBitmap colour(icon.hbmColor);
    BITMAP picture{};
    if (!GetObjectW(mask.get(), sizeof picture, &picture))
        return GetSystemMetrics(SM_CYCURSOR);
    const int height = colour ? picture.bmHeight : picture.bmHeight / 2;
    return height - static_cast<int>(icon.yHotspot);
}

int Win32HintHost::ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

ProgramHints::ProgramHints() {
    Current() = &application_;
}

ProgramHints::~ProgramHints() {
    if (Current() == &application_)
        Current() = nullptr;
}

HintApplication* ApplicationHints() {
    return Current();
}

bool CancelsHint(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace kavrolt::win
