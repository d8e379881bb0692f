#include "forms/Picture.h"

#include <climits>
#include <memory>

// stb_image, reduced to what the program needs: PNG from memory only, no
// files, no floating-point formats, no error texts and no thread-local state.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace kavrolt {
namespace {

struct StbiFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

} // namespace

bool DecodePngInto(const void* bytes, std::size_t size,
                   const std::function<std::uint8_t*(int width, int height)>& target) {
    if (!bytes || size == 0 || size > static_cast<std::size_t>(INT_MAX))
        return false;
    int width = 0, height = 0, channels = 0;
    // Four channels whatever the file holds: grey, palette and RGB pictures
    // come out with an opaque alpha.
    const std::unique_ptr<stbi_uc, StbiFree> rgba(stbi_load_from_memory(
        static_cast<const stbi_uc*>(bytes), static_cast<int>(size), &width, &height, &channels, 4));
    if (!rgba || width <= 0 || height <= 0)
        return false;
    std::uint8_t* to = target(width, height);
    if (!to)
        return false;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const stbi_uc* from = rgba.get();
    for (std::size_t i = 0; i < count; ++i, from += 4, to += 4) {
        const std::uint8_t alpha = from[3];
        to[0] = Premultiply(from[2], alpha);
        to[1] = Premultiply(from[1], alpha);
        to[2] = Premultiply(from[0], alpha);
        to[3] = alpha;
    }
    return true;
}

std::optional<PixelImage> DecodePng(const void* bytes, std::size_t size) {
    PixelImage image;
    const bool decoded = DecodePngInto(bytes, size, [&](int width, int height) {
        image.width = width;
        image.height = height;
        image.bgra.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        return image.bgra.data();
    });
    if (!decoded)
        return std::nullopt;
    return image;
}

} // namespace kavrolt
