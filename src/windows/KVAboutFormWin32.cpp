#include "windows/KVAboutFormWin32.h"

#include "base/Failure.h"

#include "services/Product.h"
#include "services/Shell.h"
#include "services/Sound.h"
#include "appearance/Captions.h"
#include "appearance/SystemFont.h"
#include "forms/KVAboutFormLayout.h"
#include "forms/MessageLoopWin32.h"

namespace kavrolt::win {

KVAboutForm::KVAboutForm()
    : Form(MakeAboutFormModel(),
           WindowSpec{L"TKVAboutForm", kAboutClientWidth, kAboutClientHeight,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, kColorBtnFace}) {}

void KVAboutForm::OnCreated() {
    SendMessageW(Control(u"CloseButton"), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    // Keyboard order: Close, the credits memo (on its panel), Help. Tab
    // follows the z-order of the window's children.
    HWND previous = HWND_TOP;
    for (auto name : {u"CloseButton", u"AboutPanel", u"HelpButton"}) {
        HWND control = Control(name);
        SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
}

const wchar_t* KVAboutForm::PictureResource(int index) const {
    const bool large = Dpi() >= 144;
    const auto& name = Model().components[static_cast<std::size_t>(index)].name;
    if (name == u"BannerImage")
        return large ? L"ABOUTBANNER150" : L"ABOUTBANNER";
    if (name == u"LargeIcon")
        return large ? L"GAMEPAD150" : L"GAMEPAD";
    return nullptr;
}

void KVAboutForm::FormShow() {
    // The rest of the preparation is skipped; the window still opens.
    Guarded([&] {
        SetDesktopFont(Model(), true, ReadDesktopFont());
        PrepareFormFont(Model());
        ApplyFonts();
        ApplyCaptions(Model());
        const int version = Model().IndexOf(u"VersionLabel");
        Model().SetText(version, Model().components[static_cast<std::size_t>(version)].text +
                                     std::u16string(kProgramVersion) + u")");
    });
}

void KVAboutForm::ShowModal(HWND owner) {
    CentreOver(owner);
    FormShow();
    EnableWindow(owner, FALSE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetFocus(Control(u"CloseButton"));
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

void KVAboutForm::CloseModal() {
    modal_ = false;
    ShowWindow(Handle(), SW_HIDE);
}

void KVAboutForm::OnClick(int index) {
    const auto& name = Model().components[static_cast<std::size_t>(index)].name;
    if (name == u"CloseButton") {
        CloseModal();
    } else if (name == u"HelpButton") {
        if (helpRequested)
            helpRequested();
    } else if (name == u"LicenseAgreementLabel") {
        PlayClickSound();
        OpenDocument(ProgramFolder() + u"License.rtf", u"");
    }
}

void KVAboutForm::OnMouseEnter(int index) {
    if (Model().components[static_cast<std::size_t>(index)].name == u"LicenseAgreementLabel")
        SetUnderline(index, true);
}

void KVAboutForm::OnMouseLeave(int index) {
    if (Model().components[static_cast<std::size_t>(index)].name == u"LicenseAgreementLabel")
        SetUnderline(index, false);
}

LRESULT KVAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        CloseModal();
        return 0;
    case DM_GETDEFID:
        // Enter presses the Close button; there is no cancel button.
        return MAKELRESULT(GetDlgCtrlID(Control(u"CloseButton")), DC_HASDEFID);
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
