// The application's cursor table: the cursor shown for each kind of pointer
// that a component asks for. The arrow and the hourglass are the system's; the
// hand of links is whatever has been entered for it, and the arrow while
// nothing is.
#pragma once

#include "forms/FormModel.h"

#include <windows.h>

namespace kavrolt::win {

// The cursor of that kind; nothing for Inherit.
HCURSOR CursorOf(CursorKind kind);

// Enters the hand cursor of links; a null cursor removes the entry. It only
// ever holds shared cursors of the system, which nobody destroys.
void SetHandPointCursor(HCURSOR cursor);
HCURSOR HandPointCursor();

} // namespace kavrolt::win
