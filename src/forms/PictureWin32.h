// Pictures of the program: PNG resources decoded by the program itself
// (windows/Picture.h) into 32-bit bitmaps with premultiplied alpha, ready for
// AlphaBlend.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kavrolt::win {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const {
        if (object)
            DeleteObject(object);
    }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// The RCDATA resource of that name in the program's own module as a bitmap;
// nothing when it is missing or cannot be decoded.
BitmapHandle LoadPicture(const wchar_t* resourceName);

} // namespace kavrolt::win
