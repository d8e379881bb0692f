#include "windows/KVAboutFormWin32.h"

#include "forms/KVAboutFormLayout.h"

namespace kavrolt::win {

KVAboutForm::KVAboutForm(ProgramServices& services)
    : ViewForm(MakeAboutFormModel(),
               WindowSpec{L"TKVAboutForm", kAboutClientWidth, kAboutClientHeight,
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, kColorBtnFace}),
      presenter_(*this, services, [this] {
          if (helpRequested)
              helpRequested();
      }) {}

void KVAboutForm::OnCreated() {
    SendMessageW(Control(AboutControl::CloseButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    SetTabOrder(kAboutTabOrder);
}

const wchar_t* KVAboutForm::PictureResource(int index) const {
    const bool large = Dpi() >= 144;
    if (index == Index(AboutControl::BannerImage))
        return large ? L"ABOUTBANNER150" : L"ABOUTBANNER";
    if (index == Index(AboutControl::LargeIcon))
        return large ? L"GAMEPAD150" : L"GAMEPAD";
    return nullptr;
}

void KVAboutForm::Raise(int index, FormEvent event) {
    // The Close button has no handler: it closes the modal window.
    if (index == Index(AboutControl::CloseButton) && event == FormEvent::Click)
        EndModal();
    else
        presenter_.Handle(index, event);
}

LRESULT KVAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        EndModal();
        return 0;
    case DM_GETDEFID:
        // Enter presses the Close button; there is no cancel button.
        return MAKELRESULT(GetDlgCtrlID(Control(AboutControl::CloseButton)), DC_HASDEFID);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && lParam == 0)
            return 0; // Escape does not close the window
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace kavrolt::win
