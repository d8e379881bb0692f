#include "windows/KVSettingsFormLayout.h"

namespace kavrolt {

FormModel MakeSettingsFormModel() {
    FormModel form;
    form.name = u"KVSettingsForm";
    form.font = FontSpec{u"Tahoma", 8};
    FontSpec heading{u"Tahoma", 8, true};
    heading.color = 0x000000; // window text
    form.components = {
        {u"SettingsPanel", ComponentKind::Panel, {0, 0, 479, 146}, kParentIsWindow, true,
         std::nullopt, u"", CursorKind::HourGlass, false, kColorWindow},
        {u"CurrentSettingsHeading", ComponentKind::Label, {42, 30, 0, 13}, kSettingsPanel, false,
         heading, u"", CursorKind::Inherit, true, -1},
        {u"MainProgress", ComponentKind::ProgressBar, {42, 59, 401, 17}, kSettingsPanel,
         std::nullopt, std::nullopt, u"", CursorKind::HourGlass, false, -1},
        {u"CurrentSettingsLabel", ComponentKind::Label, {42, 94, 0, 13}, kSettingsPanel, true,
         std::nullopt, u"", CursorKind::Inherit, true, -1},
    };
    return form;
}

} // namespace kavrolt
