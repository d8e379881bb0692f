// Conversions between the portable font description and GDI's LOGFONTW.
#pragma once

#include "forms/FormModel.h"

#include <windows.h>

#include <functional>

namespace kavrolt {

// The vertical pixels per inch of the screen, 96 when it cannot be read.
int ScreenPixelsPerInch();

// A LOGFONTW height is the character height in pixels when negative and the
// cell height when positive; either way its size counts as that many pixels.
FontSpec FontSpecFromLogFont(const LOGFONTW& logFont, int pixelsPerInch);
// The LOGFONTW to create a font from: a negative height, the character height.
LOGFONTW LogFontFromFontSpec(const FontSpec& font, int pixelsPerInch);

// ReadDesktopFont() with its query of the icon-title font replaced; when the
// query fails the stock SYSTEM_FONT is used.
FontSpec DesktopFontFrom(const std::function<bool(LOGFONTW&)>& iconTitleFont);

} // namespace kavrolt
