#include "forms/PictureWin32.h"

#include "forms/Picture.h"

namespace kavrolt::win {

UniqueBitmap LoadPicture(const wchar_t* resourceName) {
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (!bytes || size == 0)
        return nullptr;

    // The pixels go straight into a DIB section, top row first.
    UniqueBitmap bitmap;
    const bool decoded = DecodePngInto(bytes, size, [&](int width, int height) -> std::uint8_t* {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        return bitmap ? static_cast<std::uint8_t*>(pixels) : nullptr;
    });
    if (!decoded)
        return nullptr;
    return bitmap;
}

} // namespace kavrolt::win
