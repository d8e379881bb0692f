#include "appearance/SystemFontWin32.h"
#include "appearance/SystemFont.h"
#include "base/Handles.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace kavrolt {

int ScreenPixelsPerInch() {
    const WindowDc screen;
    const int ppi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return ppi > 0 ? ppi : 96;
}

FontSpec FontSpecFromLogFont(const LOGFONTW& logFont, int pixelsPerInch) {
    FontSpec font;
    font.face = std::u16string(reinterpret_cast<const char16_t*>(logFont.lfFaceName),
                               wcsnlen(logFont.lfFaceName, LF_FACESIZE));
    font.points = FontPointsFromPixels(std::abs(static_cast<int>(logFont.lfHeight)), pixelsPerInch);
    font.bold = logFont.lfWeight >= FW_BOLD;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.charset = logFont.lfCharSet;
    font.color = static_cast<std::uint32_t>(GetSysColor(COLOR_WINDOWTEXT));
    return font;
}

LOGFONTW LogFontFromFontSpec(const FontSpec& font, int pixelsPerInch) {
    LOGFONTW logFont{};
    logFont.lfHeight = -FontPixelsFromPoints(font.points, pixelsPerInch);
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic ? 1 : 0;
    logFont.lfUnderline = font.underline ? 1 : 0;
    logFont.lfCharSet = static_cast<BYTE>(font.charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH;
    const std::size_t length = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
    for (std::size_t i = 0; i < length; ++i)
        logFont.lfFaceName[i] = static_cast<wchar_t>(font.face[i]);
    return logFont;
}

FontSpec DesktopFontFrom(const std::function<bool(LOGFONTW&)>& iconTitleFont) {
    LOGFONTW logFont{};
    if (!iconTitleFont(logFont)) {
        logFont = LOGFONTW{};
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof logFont, &logFont);
    }
    return FontSpecFromLogFont(logFont, ScreenPixelsPerInch());
}

FontSpec ReadDesktopFont() {
    static_assert(sizeof(LOGFONTW) == 92, "SPI_GETICONTITLELOGFONT takes a 92-byte LOGFONTW");
    return DesktopFontFrom([](LOGFONTW& logFont) {
        return SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0) != 0;
    });
}

} // namespace kavrolt
