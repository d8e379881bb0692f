#include "forms/KVSettingsFormLayout.h"

#include "forms/LayoutBuilders.h"

namespace kavrolt {

// The builders' names are left empty: Place names each component from
// kSettingsControlNames.
FormModel MakeSettingsFormModel() {
    using namespace layout;
    using enum SettingsControl;
    FormModel form;
    form.name = u"KVSettingsForm";
    form.font = FontSpec{u"Tahoma", 8};
    auto add = [&form](SettingsControl id, Component component) {
        return Place(form, kSettingsControlNames, id, std::move(component));
    };
    const int panel = add(SettingsPanel, Panel({}, {0, 0, 479, 146}, kParentIsWindow, kColorWindow,
                                               CursorKind::HourGlass));
    add(CurrentSettingsHeading,
        Label({}, 42, 30, panel, Font(u"Tahoma", 11, true, SystemColor(kColorWindowText))));
    Component bar = Make({}, ComponentKind::ProgressBar, {42, 59, 401, 17}, panel);
    bar.cursor = CursorKind::HourGlass;
    add(MainProgress, bar);
    add(CurrentSettingsLabel, Label({}, 42, 94, panel));
    return form;
}

} // namespace kavrolt
