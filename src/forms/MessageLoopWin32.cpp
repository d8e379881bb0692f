#include "forms/MessageLoopWin32.h"

#include "forms/HintApplicationWin32.h"

namespace kavrolt::win {
namespace {

ShortCutHandler& Handler() {
    static ShortCutHandler handler;
    return handler;
}

} // namespace

void SetShortCutHandler(ShortCutHandler handler) {
    Handler() = std::move(handler);
}

void DispatchProgramMessage(MSG& message, HWND dialogWindow) {
    if (CancelsHint(message.message))
        if (HintApplication* hints = ApplicationHints())
            hints->CancelHint();
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        bool handled = false;
        if (auto& handler = Handler())
            handler(message, handled);
        if (handled)
            return;
    }
    // Tab, arrow keys and Enter move between and press the controls.
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && (!dialogWindow || root == dialogWindow) && IsDialogMessageW(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the main loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchProgramMessage(message);
    }
}

int RunMessageLoop(HWND dialogWindow) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchProgramMessage(message, dialogWindow);
    return static_cast<int>(message.wParam);
}

} // namespace kavrolt::win
