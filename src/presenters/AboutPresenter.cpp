#include "presenters/AboutPresenter.h"

#include "base/Failure.h"
#include "services/Product.h"

namespace kavrolt {
namespace {

using enum AboutControl;
using enum FormEvent;
using Row = Binding<AboutPresenter, AboutControl>;

constexpr Row kAboutBindings[] = {
    {HelpButton, Click, &AboutPresenter::HelpButtonClick},
    {LicenseAgreementLabel, Click, &AboutPresenter::LicenseAgreementLabelClick},
    {LicenseAgreementLabel, MouseEnter, &AboutPresenter::LicenseAgreementLabelMouseEnter},
    {LicenseAgreementLabel, MouseLeave, &AboutPresenter::LicenseAgreementLabelMouseLeave},
};

} // namespace

AboutPresenter::AboutPresenter(FormView& view, ProgramServices& services,
                               std::function<void()> help)
    : view_(view), services_(services), help_(std::move(help)) {}

std::span<const Row> AboutPresenter::Bindings() {
    return kAboutBindings;
}

void AboutPresenter::ShowModal() {
    view_.CentreOverOwner();
    FormShow();
    // The Close button has the focus when the window opens.
    view_.ShowModal(Index(CloseButton));
}

void AboutPresenter::FormShow() {
    // The rest of the preparation is skipped; the window still opens.
    Guarded([&] {
        PrepareWindow(view_, services_);
        FormModel& model = view_.Model();
        model.SetText(VersionLabel,
                      model.At(VersionLabel).text + std::u16string(kProgramVersion) + u")");
    });
}

bool AboutPresenter::Handle(int index, FormEvent event) {
    return Dispatch(Bindings(), *this, index, event);
}

void AboutPresenter::HelpButtonClick(AboutControl /*sender*/) {
    if (help_)
        help_();
}

void AboutPresenter::LicenseAgreementLabelClick(AboutControl /*sender*/) {
    services_.PlayClickSound();
    services_.OpenDocument(services_.ProgramFolder() + u"License.rtf", u"");
}

void AboutPresenter::LicenseAgreementLabelMouseEnter(AboutControl sender) {
    view_.SetUnderline(Index(sender), true);
}

void AboutPresenter::LicenseAgreementLabelMouseLeave(AboutControl sender) {
    view_.SetUnderline(Index(sender), false);
}

} // namespace kavrolt
