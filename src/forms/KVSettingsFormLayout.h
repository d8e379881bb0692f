// The layout of the progress window: a panel filling the client area with the
// step heading, the progress bar and the step text.
#pragma once

#include "forms/FormModel.h"

#include <array>

namespace kavrolt {

inline constexpr int kSettingsClientWidth = 479;
inline constexpr int kSettingsClientHeight = 146;

// The components of the progress window, in layout order.
enum class SettingsControl {
    SettingsPanel,
    CurrentSettingsHeading,
    MainProgress,
    CurrentSettingsLabel,
    Count,
};

// The component names, which the caption table uses as keys, by SettingsControl.
inline constexpr std::array<std::u16string_view, Index(SettingsControl::Count)>
    kSettingsControlNames = {u"SettingsPanel", u"CurrentSettingsHeading", u"MainProgress",
                             u"CurrentSettingsLabel"};

FormModel MakeSettingsFormModel();

} // namespace kavrolt
