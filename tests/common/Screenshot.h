// Saves what the screen shows of a window as a 24-bit BMP file, for the
// Windows and end-to-end suites to look at afterwards.
#pragma once

#include "base/Handles.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kavrolt::test {

// The file lands in the folder that KAVROLT_SCREENSHOTS names (a Windows
// path), or in the current folder.
inline void SaveWindowScreenshot(HWND window, const std::string& name) {
    RECT box{};
    GetWindowRect(window, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (width <= 0 || height <= 0)
        return;
    const WindowDc screen;
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height);
    if (const UniqueMemoryDc memory = CompatibleDc(screen.get())) {
        {
            const SelectedObject selected(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, width, height, screen.get(), box.left, box.top, SRCCOPY);
        }
        GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(sizeof file + sizeof info + pixels.size());
    file.bfOffBits = sizeof file + sizeof info;
    const char* folder = std::getenv("KAVROLT_SCREENSHOTS");
    const std::string path = (folder ? std::string(folder) + "\\" : std::string()) + name + ".bmp";
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(pixels.data(), 1, pixels.size(), out);
        std::fclose(out);
    }
}

} // namespace kavrolt::test
