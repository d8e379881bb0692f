// The About window, shown modally over the main window: the view of its
// presenter.
#pragma once

#include "presenters/AboutPresenter.h"
#include "windows/FormViewWin32.h"
#include "windows/SystemServicesWin32.h"

#include <functional>

namespace kavrolt::win {

class KVAboutForm final : public ViewForm {
public:
    explicit KVAboutForm(ProgramServices& services = SystemServices());

    AboutPresenter& Presenter() { return presenter_; }
    // What the Help button calls: the main window's F1 path.
    std::function<void()> helpRequested;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Raise(int index, FormEvent event) override;
    const wchar_t* PictureResource(int index) const override;
    void OnCreated() override;

private:
    AboutPresenter presenter_;
};

} // namespace kavrolt::win
