// The hand cursor of links, with the system's cursor loader replaceable.
#pragma once

#include <windows.h>

#include <functional>

namespace kavrolt::win {

// InitNativeHandCursor with the loading of IDC_HAND replaced.
void InitNativeHandCursorFrom(const std::function<HCURSOR()>& loadHand);

} // namespace kavrolt::win
