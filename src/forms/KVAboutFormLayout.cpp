#include "forms/KVAboutFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {

FormModel MakeAboutFormModel() {
    using namespace layout;
    FormModel form;
    form.name = u"KVAboutForm";
    form.font = FontSpec{u"Tahoma", 8};
    const int top = kParentIsWindow;
    const int panel = Add(form, Panel(u"AboutPanel", {0, 0, 700, 386}, top, kColorWindow));
    Add(form, Picture(u"LargeIcon", {372, 130, 256, 256}, panel));
    Add(form, Label(u"VersionLabel", 72, 82, panel,
                    Font(u"Tahoma", 13, true, SystemColor(kColorWindowText))));
    Add(form, Label(u"CopyrightLabel", 72, 101, panel));
    Add(form, Label(u"LicenseAgreementLabel", 72, 287, panel, Font(u"Tahoma", 11, false, 0xCC6600),
                    CursorKind::Hand));
    Component warning = Label(u"CopyrightWarningLabel", 72, 302, panel);
    warning.bounds = {72, 302, 556, 70};
    warning.autoSize = false;
    warning.wordWrap = true;
    Add(form, warning);
    Add(form, Picture(u"BannerImage", {0, 0, 700, 60}, panel));
    Add(form, Label(u"BannerLabel", 48, 18, panel, Font(u"Tahoma", 16, true, 0xFFFFFF)));
    Component memo = Control(u"LicensedMemo", ComponentKind::Memo, {72, 136, 556, 73}, panel);
    Add(form, memo);
    Add(form, Bevel(u"AboutBevel", {0, 386, 700, 5}, top));
    Add(form, Control(u"CloseButton", ComponentKind::Button, {608, 403, 79, 25}, top));
    Add(form, Control(u"HelpButton", ComponentKind::Button, {14, 403, 79, 25}, top));
    return form;
}

} // namespace kavrolt
