// The layout of the progress window: a panel filling the client area with the
// step heading, the progress bar and the step text.
#pragma once

#include "forms/FormModel.h"

namespace kavrolt {

inline constexpr int kSettingsClientWidth = 479;
inline constexpr int kSettingsClientHeight = 146;
inline constexpr int kSettingsPanel = 0; // index of SettingsPanel

FormModel MakeSettingsFormModel();

} // namespace kavrolt
