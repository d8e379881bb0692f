// The program's own PNG decoder against the straight-alpha bitmaps that
// scripts/render-art writes beside every shipped picture, and against small
// pictures of the other PNG colour types.
#include "forms/Picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kavrolt {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The byte of a 32-bit pixel that a channel mask selects.
int ShiftOf(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// The 32-bit BMP that render-art writes (a BITMAPV5HEADER with channel masks,
// bottom row first) as straight RGBA, top row first.
struct StraightImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

StraightImage ReadBmp(const std::vector<std::uint8_t>& bytes) {
    StraightImage image;
    if (bytes.size() < 14 + 56 || bytes[0] != 'B' || bytes[1] != 'M')
        return image;
    const std::uint32_t offset = Le32(bytes, 10);
    const int width = static_cast<int>(Le32(bytes, 18));
    const int height = static_cast<int>(Le32(bytes, 22));
    const int bits = bytes[28] | bytes[29] << 8;
    if (bits != 32 || width <= 0 || height == 0)
        return image;
    const int rows = std::abs(height);
    const int shifts[4] = {ShiftOf(Le32(bytes, 54)), ShiftOf(Le32(bytes, 58)),
                           ShiftOf(Le32(bytes, 62)), ShiftOf(Le32(bytes, 66))};
    if (bytes.size() < offset + static_cast<std::size_t>(width) * rows * 4)
        return image;
    image.width = width;
    image.height = rows;
    image.rgba.resize(static_cast<std::size_t>(width) * rows * 4);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = height > 0 ? rows - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel =
                Le32(bytes, offset + (static_cast<std::size_t>(fileRow) * width + x) * 4);
            for (int c = 0; c < 4; ++c)
                image.rgba[(static_cast<std::size_t>(y) * width + x) * 4 + c] =
                    static_cast<std::uint8_t>(pixel >> shifts[c]);
        }
    }
    return image;
}

TEST(PngPicture, PremultiplyRoundsToTheNearestValue) {
    for (int colour = 0; colour < 256; ++colour)
        for (int alpha = 0; alpha < 256; ++alpha)
            ASSERT_EQ(
                Premultiply(static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(alpha)),
                std::lround(colour * alpha / 255.0))
                << colour << " * " << alpha;
}

TEST(PngPicture, EveryShippedPictureGivesThePremultipliedPixelsOfItsBitmap) {
    const char* const names[] = {"about-banner", "background", "gamepad-large", "logo",
                                 "nav1",         "nav2",       "nav3",          "nav4",
                                 "processor",    "server",     "workstation"};
    for (const char* name : names) {
        for (const std::string suffix : {"", "@150"}) {
            const std::string base =
                std::string(KAVROLT_RESOURCES_DIR "/pictures/") + name + suffix;
            SCOPED_TRACE(base);
            const std::vector<std::uint8_t> png = ReadFile(base + ".png");
            const StraightImage expected = ReadBmp(ReadFile(base + ".bmp"));
            ASSERT_FALSE(png.empty());
            ASSERT_GT(expected.width, 0);
            const std::optional<PixelImage> image = DecodePng(png.data(), png.size());
            ASSERT_TRUE(image.has_value());
            ASSERT_EQ(image->width, expected.width);
            ASSERT_EQ(image->height, expected.height);
            ASSERT_EQ(image->bgra.size(), expected.rgba.size());
            std::size_t wrong = 0;
            for (std::size_t i = 0; i < expected.rgba.size(); i += 4) {
                const std::uint8_t alpha = expected.rgba[i + 3];
                const std::uint8_t want[4] = {Premultiply(expected.rgba[i + 2], alpha),
                                              Premultiply(expected.rgba[i + 1], alpha),
                                              Premultiply(expected.rgba[i], alpha), alpha};
                if (std::memcmp(want, &image->bgra[i], 4) != 0 && wrong++ == 0)
                    ADD_FAILURE() << "first wrong pixel at " << (i / 4) % expected.width << ","
                                  << (i / 4) / expected.width;
            }
            EXPECT_EQ(wrong, 0u);
        }
    }
}

// A 2 x 1 grey picture (0x40, 0xC0) and a 2 x 1 palette picture (red, blue).
constexpr std::uint8_t kGreyPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00,
    0x00, 0xd1, 0x49, 0x20, 0x56, 0x00, 0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x08,
    0xd7, 0x63, 0x70, 0x38, 0x00, 0x00, 0x01, 0x43, 0x01, 0x01, 0x9d, 0x69, 0xd9, 0xd8,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
constexpr std::uint8_t kPalettePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x01, 0x03, 0x00, 0x00, 0x00, 0xce,
    0xec, 0xed, 0xc9, 0x00, 0x00, 0x00, 0x06, 0x50, 0x4c, 0x54, 0x45, 0xff, 0x00, 0x00, 0x00,
    0x00, 0xff, 0x6c, 0xa1, 0xfd, 0x8e, 0x00, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x08,
    0xd7, 0x63, 0x70, 0x00, 0x00, 0x00, 0x42, 0x00, 0x41, 0x83, 0xb9, 0xec, 0xad, 0x00, 0x00,
    0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(PngPicture, PicturesWithoutAlphaComeOutOpaqueInBlueGreenRedOrder) {
    const std::optional<PixelImage> grey = DecodePng(kGreyPng, sizeof kGreyPng);
    ASSERT_TRUE(grey.has_value());
    EXPECT_EQ(grey->width, 2);
    EXPECT_EQ(grey->height, 1);
    EXPECT_EQ(grey->bgra,
              (std::vector<std::uint8_t>{0x40, 0x40, 0x40, 0xFF, 0xC0, 0xC0, 0xC0, 0xFF}));

    const std::optional<PixelImage> palette = DecodePng(kPalettePng, sizeof kPalettePng);
    ASSERT_TRUE(palette.has_value());
    EXPECT_EQ(palette->bgra,
              (std::vector<std::uint8_t>{0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF}));
}

TEST(PngPicture, DamagedOrForeignBytesGiveNothing) {
    const std::vector<std::uint8_t> logo = ReadFile(KAVROLT_RESOURCES_DIR "/pictures/logo.png");
    ASSERT_GT(logo.size(), 100u);
    EXPECT_FALSE(DecodePng(logo.data(), logo.size() / 2).has_value()) << "cut in half";
    EXPECT_FALSE(DecodePng(logo.data(), 8).has_value()) << "the signature alone";
    EXPECT_FALSE(DecodePng(logo.data(), 0).has_value()) << "no bytes";
    EXPECT_FALSE(DecodePng(nullptr, 100).has_value()) << "no buffer";
    // The same pixels as a BMP: only PNG is decoded.
    const std::vector<std::uint8_t> bmp = ReadFile(KAVROLT_RESOURCES_DIR "/pictures/logo.bmp");
    ASSERT_FALSE(bmp.empty());
    EXPECT_FALSE(DecodePng(bmp.data(), bmp.size()).has_value()) << "a BMP file";
    // A PNG whose pixel data is overwritten fails its zlib check.
    std::vector<std::uint8_t> scrambled(kGreyPng, kGreyPng + sizeof kGreyPng);
    scrambled[43] ^= 0xFF; // inside the IDAT data
    EXPECT_FALSE(DecodePng(scrambled.data(), scrambled.size()).has_value()) << "scrambled data";
}

TEST(PngPicture, NoBufferFromTheTargetIsAFailure) {
    int asked = 0;
    EXPECT_FALSE(DecodePngInto(kGreyPng, sizeof kGreyPng, [&](int width, int height) {
        EXPECT_EQ(width, 2);
        EXPECT_EQ(height, 1);
        ++asked;
        return static_cast<std::uint8_t*>(nullptr);
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(DecodePngInto(kGreyPng, sizeof kGreyPng / 2, [&](int, int) {
        ++asked;
        return static_cast<std::uint8_t*>(nullptr);
    }));
    EXPECT_EQ(asked, 1) << "a damaged picture asks for no buffer";
}

} // namespace
} // namespace kavrolt
