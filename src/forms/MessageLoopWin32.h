// The program's message loops. Every loop of the program (the main loop, the
// modal About loop and the pump inside a progress step) hands each message to
// the shortcut handler first, so that the main window sees the keys of every
// window of the program.
#pragma once

#include <windows.h>

#include <functional>

namespace kavrolt::win {

using ShortCutHandler = std::function<void(const MSG& message, bool& handled)>;
void SetShortCutHandler(ShortCutHandler handler);

// Translates and dispatches one message, unless the shortcut handler or the
// dialog navigation of the given window takes it. A key or mouse button
// pressed cancels the application's hint first.
void DispatchProgramMessage(MSG& message, HWND dialogWindow = nullptr);

// Dispatches every message that is waiting in the thread's queue, then returns.
void PumpMessages();

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND dialogWindow);

} // namespace kavrolt::win
