// The program's real services for the presenters: the registry, the caption
// resource, the desktop font, the clock, the detections, the shell and sound.
#pragma once

#include "presenters/ProgramServices.h"

namespace kavrolt::win {

// The one instance of the program, shared by its windows.
ProgramServices& SystemServices();

} // namespace kavrolt::win
