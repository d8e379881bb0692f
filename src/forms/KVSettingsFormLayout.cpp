#include "forms/KVSettingsFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {

FormModel MakeSettingsFormModel() {
    using namespace layout;
    FormModel form;
    form.name = u"KVSettingsForm";
    form.font = FontSpec{u"Tahoma", 8};
    const int panel = Add(form, Panel(u"SettingsPanel", {0, 0, 479, 146}, kParentIsWindow,
                                      kColorWindow, CursorKind::HourGlass));
    Add(form, Label(u"CurrentSettingsHeading", 42, 30, panel,
                    Font(u"Tahoma", 11, true, SystemColor(kColorWindowText))));
    Component bar = Make(u"MainProgress", ComponentKind::ProgressBar, {42, 59, 401, 17}, panel);
    bar.cursor = CursorKind::HourGlass;
    Add(form, bar);
    Add(form, Label(u"CurrentSettingsLabel", 42, 94, panel));
    return form;
}

} // namespace kavrolt
