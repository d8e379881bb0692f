// Pictures of the program: PNG resources decoded by the program itself
// (windows/Picture.h) into 32-bit bitmaps with premultiplied alpha, ready for
// AlphaBlend.
#pragma once

#include "base/Handles.h"

namespace kavrolt::win {

// The RCDATA resource of that name in the program's own module as a bitmap;
// nothing when it is missing or cannot be decoded.
UniqueBitmap LoadPicture(const wchar_t* resourceName);

} // namespace kavrolt::win
