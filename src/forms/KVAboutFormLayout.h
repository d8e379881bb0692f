// The layout of the About window.
#pragma once

#include "forms/FormModel.h"

namespace kavrolt {

inline constexpr int kAboutClientWidth = 700;
inline constexpr int kAboutClientHeight = 441;

FormModel MakeAboutFormModel();

} // namespace kavrolt
