// The pictures of the program are PNG files. They are decoded by the program
// itself, without the Windows Imaging Component or COM, into 32-bit pixels in
// the layout that AlphaBlend takes: blue, green, red, alpha, with the colours
// premultiplied by alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kavrolt {

struct PixelImage {
    int width = 0;
    int height = 0;
    // width * height * 4 bytes, top row first: B, G, R, A with each colour
    // premultiplied, round(colour * alpha / 255).
    std::vector<std::uint8_t> bgra;
};

// The premultiplied colour of one channel, rounded to the nearest value:
// what the Windows Imaging Component gives for 32bppPBGRA.
constexpr std::uint8_t Premultiply(std::uint8_t colour, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

// Decodes the PNG in bytes as premultiplied BGRA into the buffer that target
// gives for its width and height (width * height * 4 bytes, top row first).
// False, without calling target, when the bytes are not a PNG, are damaged or
// describe an image wider or taller than 8192 pixels; false too when target
// gives no buffer.
bool DecodePngInto(const void* bytes, std::size_t size,
                   const std::function<std::uint8_t*(int width, int height)>& target);

// The PNG in bytes as premultiplied BGRA; nothing where DecodePngInto fails.
std::optional<PixelImage> DecodePng(const void* bytes, std::size_t size);

} // namespace kavrolt
