// The logic of the About window: its FormShow and its bindings.
#pragma once

#include "forms/KVAboutFormLayout.h"
#include "presenters/Bindings.h"
#include "presenters/FormView.h"
#include "presenters/ProgramServices.h"

#include <functional>
#include <span>

namespace kavrolt {

class AboutPresenter {
public:
    // help is the main window's F1 path, which the Help button takes.
    AboutPresenter(FormView& view, ProgramServices& services, std::function<void()> help);

    FormView& View() { return view_; }

    // Centred over the main window, FormShow, modal until closed.
    void ShowModal();
    // Desktop font, font preparation, captions, the version after the table
    // text of VersionLabel.
    void FormShow();
    // Runs the handler bound to an event of a component; CloseButton has none
    // (the window closes itself).
    bool Handle(int index, FormEvent event);

    void HelpButtonClick(AboutControl sender);
    void LicenseAgreementLabelClick(AboutControl sender);
    void LicenseAgreementLabelMouseEnter(AboutControl sender);
    void LicenseAgreementLabelMouseLeave(AboutControl sender);

    static std::span<const Binding<AboutPresenter, AboutControl>> Bindings();

private:
    FormView& view_;
    ProgramServices& services_;
    std::function<void()> help_;
};

} // namespace kavrolt
