// The layout of the main window, in drawing order from bottom to top.
#pragma once

#include "forms/FormModel.h"

namespace kavrolt {

inline constexpr int kMainClientWidth = 764;
inline constexpr int kMainClientHeight = 500;

FormModel MakeMainFormModel();

// The keyboard order of the main panel.
inline constexpr const char16_t* kMainTabOrder[] = {u"GoButton",      u"RestoreButton",
                                                    u"WindowsCombo",  u"ProcessorCombo",
                                                    u"SpeedTrackBar", u"UpdatesButton"};

} // namespace kavrolt
