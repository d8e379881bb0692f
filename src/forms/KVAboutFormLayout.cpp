#include "forms/KVAboutFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {

// The builders' names are left empty: Place names each component from
// kAboutControlNames.
FormModel MakeAboutFormModel() {
    using namespace layout;
    using enum AboutControl;
    FormModel form;
    form.name = u"KVAboutForm";
    form.font = FontSpec{u"Tahoma", 8};
    const int top = kParentIsWindow;
    auto add = [&form](AboutControl id, Component component) {
        return Place(form, kAboutControlNames, id, std::move(component));
    };
    const int panel = add(AboutPanel, Panel({}, {0, 0, 700, 386}, top, kColorWindow));
    add(LargeIcon, Picture({}, {372, 130, 256, 256}, panel));
    add(VersionLabel,
        Label({}, 72, 82, panel, Font(u"Tahoma", 13, true, SystemColor(kColorWindowText))));
    add(CopyrightLabel, Label({}, 72, 101, panel));
    add(LicenseAgreementLabel,
        Label({}, 72, 287, panel, Font(u"Tahoma", 11, false, 0xCC6600), CursorKind::Hand));
    Component warning = Label({}, 72, 302, panel);
    warning.bounds = {72, 302, 556, 70};
    warning.autoSize = false;
    warning.wordWrap = true;
    add(CopyrightWarningLabel, warning);
    add(BannerImage, Picture({}, {0, 0, 700, 60}, panel));
    add(BannerLabel, Label({}, 48, 18, panel, Font(u"Tahoma", 16, true, 0xFFFFFF)));
    add(LicensedMemo, Control({}, ComponentKind::Memo, {72, 136, 556, 73}, panel));
    add(AboutBevel, Bevel({}, {0, 386, 700, 5}, top));
    add(CloseButton, Control({}, ComponentKind::Button, {608, 403, 79, 25}, top));
    add(HelpButton, Control({}, ComponentKind::Button, {14, 403, 79, 25}, top));
    return form;
}

} // namespace kavrolt
