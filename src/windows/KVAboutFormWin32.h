// The About window, shown modally over the main window.
#pragma once

#include "windows/FormWin32.h"

#include <functional>

namespace kavrolt::win {

class KVAboutForm final : public Form {
public:
    KVAboutForm();

    // Centred over the owner, modal until closed; closing only hides it.
    void ShowModal(HWND owner);
    // Desktop font, font preparation, captions, the version, the focus.
    void FormShow();
    // What the Help button calls: the main window's F1 path.
    std::function<void()> helpRequested;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClick(int index) override;
    void OnMouseEnter(int index) override;
    void OnMouseLeave(int index) override;
    const wchar_t* PictureResource(int index) const override;
    void OnCreated() override;

private:
    void CloseModal();
    bool modal_ = false;
};

} // namespace kavrolt::win
