#include "windows/FormViewWin32.h"

#include "forms/MessageLoopWin32.h"
#include "text/Wide.h"

#include <commctrl.h>

#include <string>

namespace kavrolt::win {

void ViewForm::Enable(int index, bool enabled) {
    EnableWindow(index == kParentIsWindow ? Handle() : ControlAt(index), enabled);
}

void ViewForm::Select(int index, int item) {
    HWND control = ControlAt(index);
    switch (Model().components.at(static_cast<std::size_t>(index)).kind) {
    case ComponentKind::TrackBar:
        SendMessageW(control, TBM_SETPOS, TRUE, item);
        break;
    case ComponentKind::ProgressBar:
        SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(item), 0);
        break;
    default:
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        break;
    }
}

int ViewForm::Selection(int index) {
    HWND control = ControlAt(index);
    switch (Model().components.at(static_cast<std::size_t>(index)).kind) {
    case ComponentKind::TrackBar:
        return static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
    case ComponentKind::ProgressBar:
        return static_cast<int>(SendMessageW(control, PBM_GETPOS, 0, 0));
    default:
        return static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
}

int ViewForm::Ask(std::u16string_view text, unsigned flags) {
    const std::u16string body(text);
    return MessageBoxW(Handle(), Wide(body), Wide(Model().title), flags);
}

void ViewForm::OpenPopupMenuBelow(int index) {
    // The point lies in screen coordinates: the window's frame, less its
    // client area, plus the component's place in the client area.
    RECT frame{}, client{};
    GetWindowRect(Handle(), &frame);
    GetClientRect(Handle(), &client);
    const Rect96& box = Model().components.at(static_cast<std::size_t>(index)).bounds;
    const int x = frame.left + ((frame.right - frame.left) - client.right) + Scale(box.left) +
                  Scale(box.width);
    const int y = frame.top + ((frame.bottom - frame.top) - client.bottom) + Scale(box.top) +
                  Scale(box.height);
    TrackPopupMenuEx(PopupMenu(), TPM_RIGHTALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION, x, y,
                     Handle(), nullptr);
}

bool ViewForm::IsVisible() {
    return IsWindowVisible(Handle()) != FALSE;
}

void ViewForm::CentreOverOwner() {
    CentreOver(GetWindow(Handle(), GW_OWNER));
}

void ViewForm::Show(bool shown) {
    ShowWindow(Handle(), shown ? SW_SHOWNORMAL : SW_HIDE);
}

void ViewForm::ShowModal(int focus) {
    HWND owner = GetWindow(Handle(), GW_OWNER);
    EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetFocus(ControlAt(focus));
    modal_ = true;
    MSG message{};
    BOOL got = TRUE;
    while (modal_ && (got = GetMessageW(&message, nullptr, 0, 0)) > 0)
        DispatchProgramMessage(message, Handle());
    modal_ = false;
    // WM_QUIT ends the program, even when the window was closed in the same
    // breath (the main window closed from outside): leave it for the main loop.
    if (got == 0)
        PostQuitMessage(static_cast<int>(message.wParam));
    EnableWindow(owner, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    SetForegroundWindow(owner);
}

void ViewForm::EndModal() {
    modal_ = false;
    ShowWindow(Handle(), SW_HIDE);
}

void ViewForm::Repaint() {
    UpdateWindow(Handle());
}

} // namespace kavrolt::win
