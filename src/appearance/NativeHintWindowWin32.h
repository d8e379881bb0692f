// The Windows tooltip control behind the program's hints.
#pragma once

#include "appearance/NativeHintWindow.h"

#include <windows.h>

namespace kavrolt::win {

// The tooltips of the program: native tooltip windows measured in the
// application's hint font.
NativeTooltips& ProgramTooltips();

// The application's hint font: the status font of the non-client metrics, the
// font the tooltip control draws with; an 8-point font when it cannot be read.
LOGFONTW HintLogFont();

// InitNativeHintWindow with the program's tooltips.
void InitNativeHintWindow(HintApplication& application);

} // namespace kavrolt::win
