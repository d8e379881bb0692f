// What the parts of the form layer share: FormWin32.cpp registers the windows
// and routes their messages; the files beside it create and place the child
// windows (FormControlsWin32.cpp) from the table of window classes
// (FormClassesWin32.cpp), measure the labels that size themselves
// (FormLabelsWin32.cpp), paint the backgrounds (FormBackgroundWin32.cpp),
// track the pointer and the hints (FormPointerWin32.cpp) and follow changes of
// DPI and of the system settings (FormDpiWin32.cpp).
#pragma once

#include "base/Handles.h"
#include "forms/FormModel.h"
#include "text/Wide.h"

#include <windows.h>

#include <string>

namespace kavrolt::win {

// A child window's control ID is this plus its component's index.
inline constexpr int kFirstControlId = 100;
// The timer that looks where the pointer went while something is hovered.
inline constexpr UINT_PTR kHoverTimer = 0x4B56;
inline constexpr const wchar_t* kPanelClass = L"TKVPanel";
// Sent from Windows 8.1 on when the window's DPI changes; the headers for
// Windows 2000 do not declare it.
inline constexpr UINT kWmDpiChanged = 0x02E0;

// The window class of a component's child window; nothing for a component
// that its container draws (a picture, a bevel) or that has no window.
const wchar_t* ClassOf(ComponentKind kind);
DWORD StyleOf(const Component& component);
DWORD ExStyleOf(ComponentKind kind);

// The DPI of a window, the screen's for none or before Windows 10.
int WindowDpi(HWND window);
// The window size for a client area, frame and caption at that DPI.
RECT FrameFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// The box of a label that sizes itself to its text (box is its scaled box at
// the layout's place), or of a word-wrapped label centred vertically in box.
RECT FitLabel(HWND label, BorrowedFont font, const Component& component, RECT box);

} // namespace kavrolt::win
