#include "appearance/SystemFontWin32.h"
#include "appearance/SystemFont.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace kavrolt {
namespace {

class ScopedFont {
public:
    explicit ScopedFont(HFONT font) : font_(font) {}
    ~ScopedFont() {
        if (font_ != nullptr)
            DeleteObject(font_);
    }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    HFONT Get() const { return font_; }

private:
    HFONT font_;
};

std::u16string Face(const LOGFONTW& logFont) {
    return {reinterpret_cast<const char16_t*>(logFont.lfFaceName),
            wcsnlen(logFont.lfFaceName, LF_FACESIZE)};
}

TEST(SystemFontWin32, ReadsTheIconTitleFont) {
    LOGFONTW expected{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof expected, &expected, 0));
    const int ppi = ScreenPixelsPerInch();
    EXPECT_GT(ppi, 0);
    const FontSpec font = ReadDesktopFont();
    EXPECT_FALSE(font.face.empty());
    EXPECT_EQ(font.face, Face(expected));
    EXPECT_EQ(font.points, FontPointsFromPixels(std::abs(int(expected.lfHeight)), ppi));
    EXPECT_GT(font.points, 0);
    EXPECT_EQ(font.bold, expected.lfWeight >= FW_BOLD);
    EXPECT_EQ(font.charset, expected.lfCharSet);
}

TEST(SystemFontWin32, FallsBackToTheSystemFont) {
    LOGFONTW system{};
    ASSERT_NE(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system), 0);
    const FontSpec font = DesktopFontFrom([](LOGFONTW& logFont) {
        logFont.lfHeight = -99; // a failing query leaves nothing behind
        return false;
    });
    EXPECT_EQ(font.face, Face(system));
    EXPECT_EQ(font.points,
              FontPointsFromPixels(std::abs(int(system.lfHeight)), ScreenPixelsPerInch()));
}

TEST(SystemFontWin32, AFontSpecMakesAFontOfThatFaceAndSize) {
    FontSpec spec;
    spec.face = u"Tahoma";
    spec.points = 9;
    spec.bold = true;
    spec.italic = true;
    const LOGFONTW logFont = LogFontFromFontSpec(spec, 96);
    EXPECT_EQ(logFont.lfHeight, -12);
    ScopedFont font(CreateFontIndirectW(&logFont));
    ASSERT_NE(font.Get(), nullptr);
    LOGFONTW back{};
    ASSERT_NE(GetObjectW(font.Get(), sizeof back, &back), 0);
    FontSpec again = FontSpecFromLogFont(back, 96);
    again.color = spec.color;
    EXPECT_EQ(again, spec);

    spec.face = std::u16string(40, u'x'); // longer than a LOGFONTW holds
    EXPECT_EQ(Face(LogFontFromFontSpec(spec, 96)).size(), std::size_t(LF_FACESIZE - 1));
}

} // namespace
} // namespace kavrolt
